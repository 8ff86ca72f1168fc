// Entry point of the pak tool.
#include "tools/pak/Pak_tool.h"

int main(int argc, char** argv) { return Pak_tool::run(argc, argv); }
