#include "tools/config/Settings_dialog.h"

#include <windows.h>

#include "resources/Cfg_record.h"
#include "app/Video_mode.h"
#include "tools/config/Cfg_file.h"
#include "platform/Monitor_list.h"
#include "tools/config/Settings_dialog_ids.h"

namespace {

const char* const title = "Gardenlume settings";

// What the dialog was opened with: OK changes a field only when the user
// changed its control, so odd values a file holds (a row out of range, a
// mouse byte of 2) stay as they were.
struct State {
    std::string path;
    int32_t shown_mode = Video_mode::default_index;
    bool shown_mouse = false;
};

std::string row_text(int32_t i)
{
    const Video_mode& m = Video_mode::row(i);
    if (m.is_desktop()) {
        Monitor_list::Area primary;
        if (!Monitor_list::primary(primary)) return "Desktop";
        return "Desktop (" + std::to_string(primary.width) + " x " + std::to_string(primary.height) + ")";
    }
    return std::to_string(m.width) + " x " + std::to_string(m.height) + ", " + std::to_string(m.bpp) + " bits" +
           (i == Video_mode::default_index ? "  (default)" : "");
}

// The list shows the desktop first, then the fixed rows; each item keeps
// its mode's index.
void add_row(HWND list, int32_t mode)
{
    const LRESULT item = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row_text(mode).c_str()));
    if (item >= 0) SendMessageA(list, LB_SETITEMDATA, WPARAM(item), LPARAM(mode));
}

void fill(HWND dialog, State& state)
{
    Cfg_record record;
    std::string why;
    Cfg_file::read(state.path, record, why);  // anything but a good file shows the defaults
    state.shown_mode = Video_mode::valid(record.video_mode) ? record.video_mode : Video_mode::default_index;
    state.shown_mouse = record.mouse_exit == 1;
    const HWND list = GetDlgItem(dialog, GARDENLUME_MODE_LIST);
    add_row(list, Video_mode::desktop_index);
    for (int32_t i = 0; i < Video_mode::count; ++i) add_row(list, i);
    const LRESULT items = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT item = 0; item < items; ++item)
        if (SendMessageA(list, LB_GETITEMDATA, WPARAM(item), 0) == state.shown_mode)
            SendMessageA(list, LB_SETCURSEL, WPARAM(item), 0);
    CheckDlgButton(dialog, GARDENLUME_MOUSE_EXIT, state.shown_mouse ? BST_CHECKED : BST_UNCHECKED);
}

// Reads the file again at OK, so fields written meanwhile by someone else
// are kept too; false with a message for people when nothing was written.
bool save(HWND dialog, const State& state, std::string& message)
{
    Cfg_record record;
    std::string why;
    switch (Cfg_file::read(state.path, record, why)) {
    case Cfg_file::Source::Unreadable:
        message = state.path + ": cannot be read, left as it is";
        return false;
    case Cfg_file::Source::Invalid:
        message = state.path + ": " + why + "; left as it is (config.exe --reset writes a fresh file)";
        return false;
    case Cfg_file::Source::File:
    case Cfg_file::Source::Missing:
        break;
    }
    const LRESULT item = SendDlgItemMessageA(dialog, GARDENLUME_MODE_LIST, LB_GETCURSEL, 0, 0);
    if (item != LB_ERR) {
        const LRESULT mode = SendDlgItemMessageA(dialog, GARDENLUME_MODE_LIST, LB_GETITEMDATA, WPARAM(item), 0);
        if (Video_mode::valid(int32_t(mode)) && mode != state.shown_mode) record.video_mode = int32_t(mode);
    }
    const bool mouse = IsDlgButtonChecked(dialog, GARDENLUME_MOUSE_EXIT) == BST_CHECKED;
    if (mouse != state.shown_mouse) record.mouse_exit = mouse ? 1 : 0;
    const Write_status written = Cfg_file::write(state.path, record);
    if (!written.ok()) {
        message = state.path + ": " + written.text() + "; the settings were not saved";
        return false;
    }
    return true;
}

INT_PTR CALLBACK dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_INITDIALOG: {
        State* state = reinterpret_cast<State*>(lparam);
        SetWindowLongPtrA(dialog, DWLP_USER, LONG_PTR(state));
        fill(dialog, *state);
        return TRUE;  // the focus goes to the list
    }
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case IDOK: {
            const State* state = reinterpret_cast<const State*>(GetWindowLongPtrA(dialog, DWLP_USER));
            std::string problem;
            if (save(dialog, *state, problem))
                EndDialog(dialog, 0);
            else
                MessageBoxA(dialog, problem.c_str(), title, MB_OK | MB_ICONERROR);
            return TRUE;
        }
        case IDCANCEL:  // Cancel, Escape and the close box
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

}  // namespace

bool Settings_dialog::available() { return true; }

int Settings_dialog::run(const std::string& cfg_path, uintptr_t owner)
{
    State state;
    state.path = cfg_path;
    HWND parent = reinterpret_cast<HWND>(owner);
    // A number that names no window (the control panel gone meanwhile, or a
    // stray argument) gives a dialog of its own.
    if (parent && !IsWindow(parent)) parent = nullptr;
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(GARDENLUME_SETTINGS_DIALOG),
                                           parent, dialog_proc, reinterpret_cast<LPARAM>(&state));
    return result == 0 ? 0 : 1;
}
