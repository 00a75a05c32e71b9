// TNetPathDlg: the dialog that asks for a free drive letter and the path of a shared network
// folder, and the connection step that maps the folder to the letter. The dialog is built from
// an in-memory template (the platform's dialog manager gives Enter = OK, Escape = Cancel and
// the tab order) and laid out in pixels when it opens.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "filelist/NetDriveLetters.h"
#include "framework/Component.h"

class TNetPathDlg : public TComponent {
 public:
  // Control identifiers of the dialog (OK and Cancel are IDOK and IDCANCEL).
  enum : int { kDriveBox = 101, kPathBox = 102, kBrowseButton = 103, kReconnectBox = 104, kIntroLabel = 105,
               kDriveLabel = 106, kPathLabel = 107 };
  static constexpr int kClientWidth = 382;
  static constexpr int kClientHeight = 160;

  // Reads the present drives and proposes a free letter.
  explicit TNetPathDlg(TComponent* owner);
  // For tests: the present drives as a bit set (bit 0 = A:) instead of the machine's.
  TNetPathDlg(TComponent* owner, uint32_t presentDrives);
  ~TNetPathDlg() override;
  static const ClassInfo& StaticClass();
  const ClassInfo& ClassType() const override { return StaticClass(); }

  // Shows the dialog modally; true when it was closed with OK (after its entries were checked).
  bool RunDialog();

  const std::wstring& DriveLetter() const { return driveLetter_; }
  void SetDriveLetter(const std::wstring& value) { driveLetter_ = value; }
  const std::wstring& NetworkPath() const { return networkPath_; }
  void SetNetworkPath(const std::wstring& value) { networkPath_ = value; }
  bool ReconnectAtLogon() const { return reconnectAtLogon_; }
  void SetReconnectAtLogon(bool value) { reconnectAtLogon_ = value; }
  const std::vector<std::wstring>& FreeDrives() const { return freeDrives_; }

  // The dialog window while RunDialog runs, else null.
  HWND DialogWindow() const { return dialog_; }
  // Runs once the dialog is laid out and about to be shown (tests drive it from here).
  std::function<void(HWND dialog)> OnShown;

  // The map-network-drive command: runs the dialog and, on OK, connects with errors shown.
  // Answers the connection's code, or ERROR_CANCELLED when the dialog was cancelled (nothing is
  // attempted then).
  DWORD MapNetworkDrive();
  // Maps `path` to `drive` (flags: restored at the next logon when `reconnect`, else
  // interactive). When it fails and `showErrors`, a message box gives the platform's text for
  // the code the call returned. Answers that code (NO_ERROR on success).
  static DWORD ConnectNetworkDrive(const std::wstring& drive, const std::wstring& path, bool showErrors, bool reconnect);
  // The message box text for a failed connection with this code.
  static std::wstring ConnectionErrorText(DWORD code);
  // Shows the platform's dialog for disconnecting network drives; true when one was
  // disconnected.
  static bool DisconnectNetworkDrive();

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
  void InitDialog(HWND dialog);
  bool AcceptEntries();
  void Browse();

  std::wstring driveLetter_;
  std::wstring networkPath_;
  bool reconnectAtLogon_ = true;
  std::vector<std::wstring> freeDrives_;
  uint32_t presentDrives_ = 0;
  std::vector<WORD> template_;  // the dialog template, built once
  HWND dialog_ = nullptr;       // borrowed: exists only while RunDialog runs
};
