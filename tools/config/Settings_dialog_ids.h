// Control numbers of the settings dialog, shared by its resource script and
// its code.
#pragma once
#define GARDENLUME_SETTINGS_DIALOG 100
#define GARDENLUME_MODE_LIST 101
#define GARDENLUME_MOUSE_EXIT 102
#define GARDENLUME_CONSENT_NOTE 103
