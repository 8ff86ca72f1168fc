// The few services the saver takes from the operating system, in the shape
// of the Win32 calls they stand for: the whole command line, one string value
// of the machine-wide registry, and starting a program without waiting.
#pragma once
#include <string>
#include <vector>

class Platform {
public:
    // Separator of file paths where a path is split into folder and name.
    static const char path_separator;

    // Keeps argc/argv for arguments(); main calls it first. Win32 ignores it.
    static void record_arguments(int argc, char** argv);
    // The arguments after the program path. On POSIX they are argv[1] on,
    // whatever the program path holds (blanks, dots); on Windows the whole
    // command line (GetCommandLineA) less its program path, split at blanks.
    static const std::vector<std::string>& arguments();

    // Reads the string data of `value` under `key_path` of the machine-wide
    // root (HKEY_LOCAL_MACHINE). On success `data` holds the bytes with a
    // terminating zero; a missing key, value or unreadable store gives false.
    static bool read_registry_string(const std::string& key_path, const std::string& value,
                                     std::vector<char>& data);

    // Starts `program` with `working_dir` as its current folder and returns
    // at once; the child is never waited for. A non-empty `argument` is
    // given to it as its one argument. False when it could not start.
    static bool start_program(const std::string& program, const std::string& working_dir,
                              const std::string& argument = std::string());

    // Whether an administrator's consent is asked by a prompt that raises a
    // program's rights (Windows' elevation, ShellExecuteEx "runas"); on
    // POSIX systems sudo serves, from a terminal.
    static bool consent_by_prompt();

    // What a command line without the host's switch asks for: Windows opens
    // a screensaver's settings so ("Configure" in Explorer); elsewhere such
    // a line runs the saver.
    static bool settings_without_switch();

    // A program without a console of its own (config.exe on Windows) writes
    // to the console it was started from, when there is one; output sent to
    // a file or a pipe stays there. Nothing to do on POSIX.
    static void attach_parent_console();

    // This process's id, and whether a process of that id has ended (one we
    // may not look at is alive).
    static unsigned long process_id();
    static bool process_gone(unsigned long id);

    // Removes the plain files of `folder` (ending with its separator) whose
    // names start with `prefix`, that `pick` accepts and that were last
    // written at least `min_age_seconds` ago; never a folder, a device or
    // whatever a link leads to. Returns how many went.
    static int remove_old_files(const std::string& folder, const std::string& prefix,
                                bool (*pick)(const std::string& name), long min_age_seconds);

    // The folder of the running executable with its trailing separator, empty
    // when it cannot be found.
    static std::string executable_folder();

    // Picks the media layer's video driver before it starts, unless the user
    // has chosen one: on X11 systems the X11 driver, so that without an X
    // server the display fails plainly instead of taking over the terminal.
    static void choose_video_driver();

    // Keeps the media layer's full screen from changing the display mode,
    // and, with `one_head`, on the primary monitor. Left to itself SDL 1.2
    // on X11 switches modes through XVidMode (a driver that only pretends to
    // switch leaves a smaller mode in a corner of the monitor) and spreads
    // its full screen over every monitor, which the desktop mode on several
    // monitors wants. Called before the media layer starts; a value the user
    // set stands. Nothing on Windows: there the fixed screen modes change
    // the display mode on purpose, and the desktop mode opens no full screen
    // (Desktop_window).
    static void keep_display_mode(bool one_head = true);

    // Lets the host's display blanking and power saving go on while the
    // garden shows: left to itself SDL 1.2 keeps resetting the X server's
    // idle timer and swallows Windows' SC_SCREENSAVE and SC_MONITORPOWER,
    // so monitors would stay lit all night. Called before the media layer
    // starts; a value the user set (SDL_VIDEO_ALLOW_SCREENSAVER) stands.
    static void allow_display_sleep();

    // Termination requests from the host (SIGTERM, SIGINT on POSIX) end the
    // main loop after its current pass. Installed before the media layer
    // starts, so that it keeps its hands off these signals.
    static void catch_termination();
    static bool termination_requested();
};
