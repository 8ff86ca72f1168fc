#include "tools/config/Settings_dialog.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#include "app/Video_mode.h"
#include "platform/Monitor_list.h"
#include "resources/Cfg_record.h"
#include "tools/config/Cfg_file.h"
#include "tools/config/Save_plan.h"
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
    // The folder is not this user's to write: OK asks an administrator.
    bool needs_consent = false;
};

// The controls the user changed, as config.exe's options would say them.
struct Changes {
    bool mode_changed = false;
    int32_t mode = 0;
    bool mouse_changed = false;
    bool mouse = false;

    std::string options() const
    {
        std::string text;
        if (mode_changed) text += "--mode " + std::to_string(mode);
        if (mouse_changed) text += std::string(text.empty() ? "" : " ") + "--mouse-exit " + (mouse ? "on" : "off");
        return text;
    }
};

// The row a new install gets: the installer writes the first cfg with
// "config.exe --mode desktop".
const int32_t installed_row = Video_mode::desktop_index;

std::string row_text(int32_t i)
{
    const Video_mode& m = Video_mode::row(i);
    const std::string mark = i == installed_row ? "  (default)" : "";
    if (m.is_desktop()) {
        // Every monitor at its own size: "Desktop (1920 x 1080 + 1280 x 1024)".
        std::string sizes;
        for (const Monitor_list::Area& each : Monitor_list::read())
            sizes += (sizes.empty() ? "" : " + ") + std::to_string(each.width) + " x " + std::to_string(each.height);
        return "Desktop" + (sizes.empty() ? "" : " (" + sizes + ")") + mark;
    }
    return std::to_string(m.width) + " x " + std::to_string(m.height) + ", " + std::to_string(m.bpp) + " bits" +
           mark;
}

// The list shows the desktop first, then the fixed rows; each item keeps
// its mode's index.
void add_row(HWND list, int32_t mode)
{
    const LRESULT item = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row_text(mode).c_str()));
    if (item >= 0) SendMessageA(list, LB_SETITEMDATA, WPARAM(item), LPARAM(mode));
}

// Says that OK needs an administrator: the note above the buttons and the
// shield on OK, as Windows marks every such button.
void show_consent_needed(HWND dialog, State& state)
{
    state.needs_consent = true;
    ShowWindow(GetDlgItem(dialog, GARDENLUME_CONSENT_NOTE), SW_SHOW);
    SendMessageA(GetDlgItem(dialog, IDOK), BCM_SETSHIELD, 0, TRUE);
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
    if (Save_plan::next(Cfg_file::may_write(state.path), true) == Save_plan::Step::ask_consent)
        show_consent_needed(dialog, state);
}

Changes changes_made(HWND dialog, const State& state)
{
    Changes c;
    const LRESULT item = SendDlgItemMessageA(dialog, GARDENLUME_MODE_LIST, LB_GETCURSEL, 0, 0);
    if (item != LB_ERR) {
        const LRESULT mode = SendDlgItemMessageA(dialog, GARDENLUME_MODE_LIST, LB_GETITEMDATA, WPARAM(item), 0);
        c.mode_changed = Video_mode::valid(int32_t(mode)) && mode != state.shown_mode;
        c.mode = int32_t(mode);
    }
    c.mouse = IsDlgButtonChecked(dialog, GARDENLUME_MOUSE_EXIT) == BST_CHECKED;
    c.mouse_changed = c.mouse != state.shown_mouse;
    return c;
}

// This very program, for starting it again with more rights.
std::string own_path()
{
    std::vector<char> buf(32768);
    const DWORD n = GetModuleFileNameA(nullptr, buf.data(), DWORD(buf.size()));
    return n > 0 && n < buf.size() ? std::string(buf.data(), n) : std::string();
}

// Starts config.exe with the changes through the elevation prompt and
// waits for it; true when it wrote them. Every other end is told in a
// message box and leaves the dialog open.
bool save_with_consent(HWND dialog, const Changes& changes)
{
    const std::string program = own_path();
    const std::string options = changes.options();
    SHELLEXECUTEINFOA run{};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    run.hwnd = dialog;
    run.lpVerb = "runas";
    run.lpFile = program.c_str();
    run.lpParameters = options.c_str();
    run.nShow = SW_HIDE;
    if (!ShellExecuteExA(&run)) {
        const bool declined = GetLastError() == ERROR_CANCELLED;
        MessageBoxA(dialog,
                    declined ? "Nothing was saved: an administrator's consent was not given."
                             : "Nothing was saved: config.exe could not be started with an administrator's rights.",
                    title, MB_OK | MB_ICONWARNING);
        return false;
    }
    DWORD code = 1;
    if (run.hProcess) {
        WaitForSingleObject(run.hProcess, INFINITE);
        GetExitCodeProcess(run.hProcess, &code);
        CloseHandle(run.hProcess);
    }
    if (code != 0) {
        const std::string message = "The settings were not saved: config.exe with an administrator's rights ended "
                                    "with code " + std::to_string(code) + " (the file could not be read as ours or "
                                    "written).";
        MessageBoxA(dialog, message.c_str(), title, MB_OK | MB_ICONERROR);
        return false;
    }
    MessageBoxA(dialog, "The settings were saved for all users.", title, MB_OK | MB_ICONINFORMATION);
    return true;
}

// Reads the file again at OK, so fields written meanwhile by someone else
// are kept too; false with a message for people when nothing was written.
// A folder that is an administrator's goes to save_with_consent instead.
bool save(HWND dialog, State& state, std::string& message)
{
    Cfg_record record;
    std::string why;
    switch (Cfg_file::read(state.path, record, why)) {
    case Cfg_file::Source::Unreadable:
        message = state.path + ": " + why + ", left as it is";
        return false;
    case Cfg_file::Source::Invalid:
        message = state.path + ": " + why + "; left as it is (config.exe --reset writes a fresh file)";
        return false;
    case Cfg_file::Source::File:
    case Cfg_file::Source::Missing:
        break;
    }
    const Changes changes = changes_made(dialog, state);
    if (state.needs_consent) return changes.options().empty() || save_with_consent(dialog, changes);
    if (changes.mode_changed) record.video_mode = changes.mode;
    if (changes.mouse_changed) record.mouse_exit = changes.mouse ? 1 : 0;
    const Write_status written = Cfg_file::write(state.path, record);
    switch (Save_plan::next(written, true)) {
    case Save_plan::Step::done:
        return true;
    case Save_plan::Step::ask_consent:
        // The folder's rights changed since the dialog opened.
        show_consent_needed(dialog, state);
        return changes.options().empty() || save_with_consent(dialog, changes);
    default:
        message = state.path + ": " + written.text() + "; the settings were not saved";
        return false;
    }
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
            State* state = reinterpret_cast<State*>(GetWindowLongPtrA(dialog, DWLP_USER));
            std::string problem;
            if (save(dialog, *state, problem))
                EndDialog(dialog, 0);
            else if (!problem.empty())
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
    // The shield on OK is drawn by the common controls of version 6, which
    // the manifest asks for.
    InitCommonControls();
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
