// See NetPathDlg.h.
#include "filelist/NetPathDlg.h"

#include <shlobj.h>
#include <winnetwk.h>

#include "filelist/FileListTexts.h"
#include "framework/AppServices.h"
#include "framework/Application.h"
#include "framework/Handles.h"

namespace {

constexpr UINT kShownMessage = WM_APP + 1;
constexpr wchar_t kCaption[] = L"Map Network Drive";
constexpr wchar_t kIntroText[] =
    L"Specify an available Drive Letter in My Computer for the connection \r\nand the path to the Network "
    L"Computer that you want to connect to:";

// A control of the dialog: its class atom, text, style and place in pixels (left, top, width,
// height of the client area). The order is the tab order.
struct ControlSpec {
  WORD classAtom;  // 0x80 button, 0x81 edit, 0x82 static, 0x85 combo box
  int id;
  const wchar_t* text;
  DWORD style;
  int left, top, width, height;
};

constexpr int kComboListHeight = 200;  // the drop-down list below the combo box's 21 pixels

const ControlSpec kControls[] = {
    {0x82, TNetPathDlg::kIntroLabel, kIntroText, SS_LEFT, 28, 8, 326, 26},
    {0x82, TNetPathDlg::kDriveLabel, L"Drive", SS_LEFT, 28, 56, 25, 13},
    {0x82, TNetPathDlg::kPathLabel, L"Path", SS_LEFT, 28, 88, 25, 13},
    {0x85, TNetPathDlg::kDriveBox, L"", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 60, 52,
     189, 21 + kComboListHeight},
    {0x81, TNetPathDlg::kPathBox, L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 60, 84, 189, 21},
    {0x80, IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 272, 52, 75, 23},
    {0x80, IDCANCEL, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 272, 116, 75, 23},
    {0x80, TNetPathDlg::kBrowseButton, L"Browse", BS_PUSHBUTTON | WS_TABSTOP, 272, 84, 75, 23},
    {0x80, TNetPathDlg::kReconnectBox, L"Reconnect at logon", BS_AUTOCHECKBOX | WS_TABSTOP, 60, 116, 141, 21},
};

void AppendWord(std::vector<WORD>& out, DWORD value) { out.push_back(static_cast<WORD>(value)); }
void AppendDword(std::vector<WORD>& out, DWORD value) {
  out.push_back(static_cast<WORD>(value & 0xFFFF));
  out.push_back(static_cast<WORD>(value >> 16));
}
void AppendText(std::vector<WORD>& out, const wchar_t* text) {
  for (; *text; ++text) out.push_back(static_cast<WORD>(*text));
  out.push_back(0);
}
void AlignToDword(std::vector<WORD>& out) {
  if (out.size() % 2) out.push_back(0);
}

// The template holds the controls at dialog-unit places that InitDialog replaces with the
// pixel layout; only their order, classes, styles and texts count.
std::vector<WORD> BuildTemplate() {
  std::vector<WORD> out;
  AppendDword(out, DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
  AppendDword(out, 0);
  AppendWord(out, static_cast<WORD>(std::size(kControls)));
  for (int v : {0, 0, 250, 100}) AppendWord(out, static_cast<WORD>(v));
  AppendWord(out, 0);  // no menu
  AppendWord(out, 0);  // the standard dialog class
  AppendText(out, kCaption);
  AppendWord(out, 8);  // points
  AppendText(out, L"MS Sans Serif");
  for (const ControlSpec& control : kControls) {
    AlignToDword(out);
    AppendDword(out, control.style | WS_CHILD | WS_VISIBLE);
    AppendDword(out, 0);
    for (int v : {0, 0, 10, 10}) AppendWord(out, static_cast<WORD>(v));
    AppendWord(out, static_cast<WORD>(control.id));
    AppendWord(out, 0xFFFF);
    AppendWord(out, control.classAtom);
    AppendText(out, control.text);
    AppendWord(out, 0);  // no creation data
  }
  return out;
}

std::wstring WindowText(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

HWND OwnerWindow() {
  HWND owner = GetActiveWindow();
  if (!owner && Application && Application->MainForm() && Application->MainForm()->HandleAllocated())
    owner = Application->MainForm()->Handle();
  return owner;
}

std::wstring SystemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  if (text.empty()) text = L"Error " + std::to_wstring(code) + L".";
  return text;
}

}  // namespace

const ClassInfo& TNetPathDlg::StaticClass() {
  static const ClassInfo& info =
      RegisterClassInfo(ClassBuilder<TNetPathDlg>(L"TNetPathDlg", &TComponent::StaticClass()).Build());
  return info;
}

TNetPathDlg::TNetPathDlg(TComponent* owner) : TNetPathDlg(owner, GetLogicalDrives()) {}

TNetPathDlg::TNetPathDlg(TComponent* owner, uint32_t presentDrives)
    : TComponent(owner), presentDrives_(presentDrives), template_(BuildTemplate()) {
  filelist::FreeDriveLetters free = filelist::ChooseFreeDriveLetters(presentDrives);
  freeDrives_ = free.offered;
  driveLetter_ = free.proposed;
}

TNetPathDlg::~TNetPathDlg() = default;

bool TNetPathDlg::RunDialog() {
  TApplication::ModalScope modal(Application);
  INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(template_.data()),
                                           OwnerWindow(), DialogProc, reinterpret_cast<LPARAM>(this));
  dialog_ = nullptr;
  return result == IDOK;
}

INT_PTR CALLBACK TNetPathDlg::DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    if (msg == WM_INITDIALOG) {
      auto* self = reinterpret_cast<TNetPathDlg*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      self->InitDialog(dialog);
      PostMessageW(dialog, kShownMessage, 0, 0);
      return TRUE;
    }
    auto* self = reinterpret_cast<TNetPathDlg*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self) return FALSE;
    switch (msg) {
      case kShownMessage:
        if (self->OnShown) self->OnShown(dialog);
        return TRUE;
      case WM_COMMAND:
        switch (LOWORD(wParam)) {
          case IDOK:
            if (self->AcceptEntries()) EndDialog(dialog, IDOK);
            return TRUE;
          case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
          case kBrowseButton:
            if (HIWORD(wParam) == BN_CLICKED) self->Browse();
            return TRUE;
          default:
            return FALSE;
        }
      case WM_DESTROY:
        self->dialog_ = nullptr;
        return FALSE;
      default:
        return FALSE;
    }
  } catch (const std::exception& error) {
    HandleException(error);
    return FALSE;
  }
}

void TNetPathDlg::InitDialog(HWND dialog) {
  dialog_ = dialog;
  for (const ControlSpec& control : kControls)
    SetWindowPos(GetDlgItem(dialog, control.id), nullptr, control.left, control.top, control.width, control.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  // The client area in pixels, centred on the screen's work area.
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  SetWindowPos(dialog, nullptr, work.left + (work.right - work.left - width) / 2, work.top + (work.bottom - work.top - height) / 2,
               width, height, SWP_NOZORDER | SWP_NOACTIVATE);

  HWND driveBox = GetDlgItem(dialog, kDriveBox);
  for (const std::wstring& drive : freeDrives_)
    SendMessageW(driveBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(drive.c_str()));
  SetWindowTextW(driveBox, driveLetter_.c_str());
  SetDlgItemTextW(dialog, kPathBox, networkPath_.c_str());
  CheckDlgButton(dialog, kReconnectBox, reconnectAtLogon_ ? BST_CHECKED : BST_UNCHECKED);
}

bool TNetPathDlg::AcceptEntries() {
  filelist::MappingRequest request =
      filelist::CheckMappingRequest(WindowText(GetDlgItem(dialog_, kDriveBox)), WindowText(GetDlgItem(dialog_, kPathBox)),
                                    presentDrives_);
  if (request.problem != filelist::MappingProblem::none) {
    if (Application) Application->MessageDlg(filelist::MappingProblemText(request.problem), kCaption, MB_OK | MB_ICONWARNING);
    bool pathProblem = request.problem == filelist::MappingProblem::noNetworkPath ||
                       request.problem == filelist::MappingProblem::badNetworkPath;
    SetFocus(GetDlgItem(dialog_, pathProblem ? kPathBox : kDriveBox));
    return false;
  }
  driveLetter_ = request.drive;
  networkPath_ = request.path;
  reconnectAtLogon_ = IsDlgButtonChecked(dialog_, kReconnectBox) == BST_CHECKED;
  return true;
}

void TNetPathDlg::Browse() {
  LPITEMIDLIST rootList = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(dialog_, CSIDL_NETWORK, &rootList))) rootList = nullptr;
  UniqueItemIdList root(rootList);
  std::wstring title = SharedTexts().MsgSpecifyDir;
  BROWSEINFOW request{};
  request.hwndOwner = dialog_;
  request.pidlRoot = root.get();
  request.lpszTitle = title.c_str();
  request.ulFlags = BIF_RETURNONLYFSDIRS;
  UniqueItemIdList chosen(SHBrowseForFolderW(&request));
  if (!chosen) return;
  wchar_t path[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(chosen.get(), path) || !path[0]) return;
  std::wstring text = path;
  while (text.size() > 3 && text.back() == L'\\') text.pop_back();
  networkPath_ = text;
  SetDlgItemTextW(dialog_, kPathBox, text.c_str());
}

DWORD TNetPathDlg::MapNetworkDrive() {
  if (!RunDialog()) return ERROR_CANCELLED;
  return ConnectNetworkDrive(driveLetter_, networkPath_, true, reconnectAtLogon_);
}

std::wstring TNetPathDlg::ConnectionErrorText(DWORD code) {
  std::wstring reason;
  if (code == ERROR_EXTENDED_ERROR) {
    // The network provider keeps its own code and text for this failure.
    DWORD providerCode = 0;
    wchar_t text[512] = {}, provider[256] = {};
    if (WNetGetLastErrorW(&providerCode, text, 512, provider, 256) == NO_ERROR && text[0]) reason = text;
  }
  if (reason.empty()) reason = SystemMessage(code);
  return L"An error occurred while connecting:\r\n" + reason;
}

DWORD TNetPathDlg::ConnectNetworkDrive(const std::wstring& drive, const std::wstring& path, bool showErrors, bool reconnect) {
  std::wstring local = drive, remote = path;
  NETRESOURCEW resource{};
  resource.dwType = RESOURCETYPE_DISK;
  resource.lpLocalName = local.data();
  resource.lpRemoteName = remote.data();
  HWND owner = Application ? Application->Handle() : nullptr;
  // The answer is the call's own code: GetLastError may still hold an older failure.
  DWORD code = WNetAddConnection3W(owner, &resource, nullptr, nullptr, reconnect ? CONNECT_UPDATE_PROFILE : CONNECT_INTERACTIVE);
  if (code != NO_ERROR && showErrors && Application)
    Application->MessageDlg(ConnectionErrorText(code), L"Error while connecting!", MB_OK | MB_ICONERROR);
  return code;
}

bool TNetPathDlg::DisconnectNetworkDrive() {
  HWND owner = OwnerWindow();
  return WNetDisconnectDialog(owner, RESOURCETYPE_DISK) == NO_ERROR;
}
