// The network drive dialog: its controls, keys and checks, and the connection step's messages.
#include <gtest/gtest.h>
#include <windows.h>
#include <winnetwk.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "filelist/NetPathDlg.h"
#include "framework/Application.h"
#include "tests/win/WinTestSupport.h"

namespace {

uint32_t Drives(const std::wstring& letters) {
  uint32_t bits = 0;
  for (wchar_t letter : letters) bits |= 1u << (letter - L'A');
  return bits;
}

std::wstring Text(HWND window) {
  wchar_t buffer[512] = {};
  GetWindowTextW(window, buffer, 512);
  return buffer;
}

std::wstring ClassOf(HWND window) {
  wchar_t buffer[64] = {};
  GetClassNameW(window, buffer, 64);
  return buffer;
}

// Key presses through SendInput without handling messages here: the dialog's own loop must
// see them, as it translates Enter, Escape and Tab.
void QueueKey(WORD key) {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = key;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
}

// The calls the dialog's user makes to the platform's connection function.
struct ConnectCall {
  std::wstring local, remote;
  DWORD flags;
};
std::vector<ConnectCall> connectCalls;
DWORD connectAnswer = NO_ERROR;

DWORD WINAPI FakeAddConnection(HWND, LPNETRESOURCEW resource, LPCWSTR, LPCWSTR, DWORD flags) {
  connectCalls.push_back({resource->lpLocalName ? resource->lpLocalName : L"",
                          resource->lpRemoteName ? resource->lpRemoteName : L"", flags});
  // A stale, unrelated last error: the message must come from the answer, not from this.
  SetLastError(ERROR_ACCESS_DENIED);
  return connectAnswer;
}

class NetPathDlgTest : public testing::Test {
 protected:
  void SetUp() override {
    connectCalls.clear();
    connectAnswer = NO_ERROR;
    Application->OnMessageDialog = [this](const std::wstring& text, UINT) {
      messages.push_back(text);
      return IDOK;
    };
  }
  void TearDown() override { Application->OnMessageDialog = nullptr; }

  // Runs the dialog; `drive` runs once it shows (it must close it, by keys or commands).
  bool Run(TNetPathDlg& dialog, std::function<void(HWND)> drive) {
    Drive(dialog, std::move(drive));
    UINT_PTR guard = StartGuard();
    bool result = dialog.RunDialog();
    KillTimer(nullptr, guard);
    return result;
  }
  static void Drive(TNetPathDlg& dialog, std::function<void(HWND)> drive) {
    dialog.OnShown = [drive](HWND window) {
      SetForegroundWindow(window);
      drive(window);
    };
  }
  // A dialog that was not closed ends after a while, so that a fault fails instead of hanging.
  static UINT_PTR StartGuard() {
    return SetTimer(nullptr, 0, 8000, [](HWND, UINT, UINT_PTR, DWORD) {
      if (HWND open = FindWindowW(L"#32770", L"Map Network Drive")) EndDialog(open, 999);
    });
  }

  std::vector<std::wstring> messages;
};

TEST_F(NetPathDlgTest, ControlsTextsAndTabOrder) {
  TNetPathDlg dialog(nullptr, Drives(L"ACD"));
  EXPECT_EQ(dialog.DriveLetter(), L"E:");
  ASSERT_EQ(dialog.FreeDrives().size(), 22u);
  EXPECT_EQ(dialog.FreeDrives().front(), L"E:");
  EXPECT_EQ(dialog.FreeDrives().back(), L"Z:");

  struct Expected {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    RECT place;
  };
  const Expected controls[] = {
      {TNetPathDlg::kDriveLabel, L"Static", L"Drive", {28, 56, 53, 69}},
      {TNetPathDlg::kPathLabel, L"Static", L"Path", {28, 88, 53, 101}},
      {TNetPathDlg::kPathBox, L"Edit", L"", {60, 84, 249, 105}},
      {IDOK, L"Button", L"OK", {272, 52, 347, 75}},
      {IDCANCEL, L"Button", L"Cancel", {272, 116, 347, 139}},
      {TNetPathDlg::kBrowseButton, L"Button", L"Browse", {272, 84, 347, 107}},
      {TNetPathDlg::kReconnectBox, L"Button", L"Reconnect at logon", {60, 116, 201, 137}},
  };
  bool shown = false;
  EXPECT_FALSE(Run(dialog, [&](HWND window) {
    shown = true;
    EXPECT_EQ(Text(window), L"Map Network Drive");
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 382);
    EXPECT_EQ(client.bottom, 160);
    // Centred on the work area.
    RECT frame{}, work{};
    GetWindowRect(window, &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(std::abs((frame.left + frame.right) - (work.left + work.right)), 1);
    EXPECT_LE(std::abs((frame.top + frame.bottom) - (work.top + work.bottom)), 1);

    for (const Expected& e : controls) {
      HWND control = GetDlgItem(window, e.id);
      ASSERT_TRUE(control) << e.id;
      EXPECT_EQ(ClassOf(control), e.className) << e.id;
      EXPECT_EQ(Text(control), e.text) << e.id;
      RECT r{};
      GetWindowRect(control, &r);
      MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
      EXPECT_EQ(r.left, e.place.left) << e.id;
      EXPECT_EQ(r.top, e.place.top) << e.id;
      EXPECT_EQ(r.right, e.place.right) << e.id;
      EXPECT_EQ(r.bottom, e.place.bottom) << e.id;
    }
    EXPECT_NE(Text(GetDlgItem(window, TNetPathDlg::kIntroLabel)).find(L"Drive Letter"), std::wstring::npos);
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(window, IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_EQ(IsDlgButtonChecked(window, TNetPathDlg::kReconnectBox), BST_CHECKED);

    HWND combo = GetDlgItem(window, TNetPathDlg::kDriveBox);
    EXPECT_EQ(ClassOf(combo), L"ComboBox");
    EXPECT_EQ(Text(combo), L"E:");
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 22);
    wchar_t item[8] = {};
    SendMessageW(combo, CB_GETLBTEXT, 21, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, L"Z:");

    // Tab order: drive box, path box, OK, Cancel, Browse (then the check box).
    const int order[] = {TNetPathDlg::kDriveBox, TNetPathDlg::kPathBox, IDOK, IDCANCEL, TNetPathDlg::kBrowseButton,
                         TNetPathDlg::kReconnectBox};
    HWND current = combo;
    for (size_t i = 1; i < std::size(order); ++i) {
      current = GetNextDlgTabItem(window, current, FALSE);
      EXPECT_EQ(GetDlgCtrlID(current), order[i]) << "after tab stop " << i - 1;
    }
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  }));
  EXPECT_TRUE(shown);
}

TEST_F(NetPathDlgTest, EnterAcceptsTheTypedLetterAndPath) {
  TNetPathDlg dialog(nullptr, Drives(L"ACD"));
  bool result = Run(dialog, [](HWND window) {
    SetDlgItemTextW(window, TNetPathDlg::kDriveBox, L"g:");
    SetDlgItemTextW(window, TNetPathDlg::kPathBox, L"\\\\fileserver\\photos\\");
    CheckDlgButton(window, TNetPathDlg::kReconnectBox, BST_UNCHECKED);
    SetFocus(GetDlgItem(window, TNetPathDlg::kPathBox));
    QueueKey(VK_RETURN);
  });
  EXPECT_TRUE(result);
  EXPECT_EQ(dialog.DriveLetter(), L"G:");
  EXPECT_EQ(dialog.NetworkPath(), L"\\\\fileserver\\photos");
  EXPECT_FALSE(dialog.ReconnectAtLogon());
  EXPECT_EQ(messages, std::vector<std::wstring>{});
}

TEST_F(NetPathDlgTest, EscapeCancelsAndKeepsTheValues) {
  TNetPathDlg dialog(nullptr, Drives(L"ACD"));
  dialog.SetNetworkPath(L"\\\\old\\share");
  bool result = Run(dialog, [](HWND window) {
    SetDlgItemTextW(window, TNetPathDlg::kDriveBox, L"K:");
    SetDlgItemTextW(window, TNetPathDlg::kPathBox, L"\\\\other\\share");
    SetFocus(GetDlgItem(window, TNetPathDlg::kPathBox));
    QueueKey(VK_ESCAPE);
  });
  EXPECT_FALSE(result);
  EXPECT_EQ(dialog.DriveLetter(), L"E:");
  EXPECT_EQ(dialog.NetworkPath(), L"\\\\old\\share");
  EXPECT_TRUE(dialog.ReconnectAtLogon());
}

TEST_F(NetPathDlgTest, InvalidEntriesKeepTheDialogOpenWithAMessage) {
  TNetPathDlg dialog(nullptr, Drives(L"ACD"));
  bool stillOpen = false;
  bool result = Run(dialog, [&](HWND window) {
    SetDlgItemTextW(window, TNetPathDlg::kDriveBox, L"C:");
    SetDlgItemTextW(window, TNetPathDlg::kPathBox, L"\\\\server\\share");
    SendMessageW(window, WM_COMMAND, IDOK, 0);
    SetDlgItemTextW(window, TNetPathDlg::kDriveBox, L"F:");
    SetDlgItemTextW(window, TNetPathDlg::kPathBox, L"server");
    SendMessageW(window, WM_COMMAND, IDOK, 0);
    stillOpen = IsWindow(window) && IsWindowVisible(window);
    EXPECT_EQ(GetFocus(), GetDlgItem(window, TNetPathDlg::kPathBox));
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_FALSE(result);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(messages, (std::vector<std::wstring>{filelist::MappingProblemText(filelist::MappingProblem::driveInUse),
                                                  filelist::MappingProblemText(filelist::MappingProblem::badNetworkPath)}));
  EXPECT_EQ(dialog.DriveLetter(), L"E:");
}

TEST_F(NetPathDlgTest, NoFreeLetterProposesNothingAndRefusesOk) {
  TNetPathDlg dialog(nullptr, Drives(L"ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
  EXPECT_EQ(dialog.DriveLetter(), L"");
  EXPECT_TRUE(dialog.FreeDrives().empty());
  bool result = Run(dialog, [](HWND window) {
    EXPECT_EQ(SendMessageW(GetDlgItem(window, TNetPathDlg::kDriveBox), CB_GETCOUNT, 0, 0), 0);
    SetDlgItemTextW(window, TNetPathDlg::kPathBox, L"\\\\server\\share");
    SendMessageW(window, WM_COMMAND, IDOK, 0);
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_FALSE(result);
  EXPECT_EQ(messages, std::vector<std::wstring>{filelist::MappingProblemText(filelist::MappingProblem::noDriveLetter)});
}

TEST_F(NetPathDlgTest, MapNetworkDriveConnectsOnlyAfterOk) {
  wintest::ImportHook hook(L"mpr.dll", "WNetAddConnection3W", reinterpret_cast<void*>(&FakeAddConnection));
  ASSERT_TRUE(hook.Active());
  UINT_PTR guard = StartGuard();
  {
    TNetPathDlg dialog(nullptr, Drives(L"ACD"));
    Drive(dialog, [](HWND window) {
      SetDlgItemTextW(window, TNetPathDlg::kPathBox, L"\\\\server\\share");
      PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(dialog.MapNetworkDrive(), static_cast<DWORD>(ERROR_CANCELLED));
  }
  EXPECT_TRUE(connectCalls.empty()) << "a cancelled dialog connected";

  TNetPathDlg dialog(nullptr, Drives(L"ACD"));
  Drive(dialog, [](HWND window) {
    SetDlgItemTextW(window, TNetPathDlg::kDriveBox, L"M:");
    SetDlgItemTextW(window, TNetPathDlg::kPathBox, L"\\\\server\\share");
    PostMessageW(window, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(dialog.MapNetworkDrive(), static_cast<DWORD>(NO_ERROR));
  KillTimer(nullptr, guard);
  ASSERT_EQ(connectCalls.size(), 1u);
  EXPECT_EQ(connectCalls[0].local, L"M:");
  EXPECT_EQ(connectCalls[0].remote, L"\\\\server\\share");
  EXPECT_EQ(connectCalls[0].flags, static_cast<DWORD>(CONNECT_UPDATE_PROFILE));
  EXPECT_TRUE(messages.empty());
}

TEST_F(NetPathDlgTest, ConnectionErrorTextComesFromTheReturnedCode) {
  wintest::ImportHook hook(L"mpr.dll", "WNetAddConnection3W", reinterpret_cast<void*>(&FakeAddConnection));
  ASSERT_TRUE(hook.Active());
  connectAnswer = ERROR_BAD_NET_NAME;
  EXPECT_EQ(TNetPathDlg::ConnectNetworkDrive(L"M:", L"\\\\server\\share", true, false), static_cast<DWORD>(ERROR_BAD_NET_NAME));
  ASSERT_EQ(connectCalls.size(), 1u);
  EXPECT_EQ(connectCalls[0].flags, static_cast<DWORD>(CONNECT_INTERACTIVE));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], TNetPathDlg::ConnectionErrorText(ERROR_BAD_NET_NAME));
  EXPECT_NE(messages[0], TNetPathDlg::ConnectionErrorText(ERROR_ACCESS_DENIED));
  EXPECT_EQ(messages[0].rfind(L"An error occurred while connecting:\r\n", 0), 0u);

  // Without showing errors nothing is shown.
  messages.clear();
  EXPECT_EQ(TNetPathDlg::ConnectNetworkDrive(L"M:", L"\\\\server\\share", false, false), static_cast<DWORD>(ERROR_BAD_NET_NAME));
  EXPECT_TRUE(messages.empty());
}

TEST_F(NetPathDlgTest, ThePlatformsRefusalGivesItsOwnMessage) {
  // Wine has no network provider: the real call refuses, and the box names that refusal.
  SetLastError(ERROR_FILE_NOT_FOUND);
  DWORD code = TNetPathDlg::ConnectNetworkDrive(L"Q:", L"\\\\brenvale-test-host\\share", true, true);
  ASSERT_NE(code, static_cast<DWORD>(NO_ERROR));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], TNetPathDlg::ConnectionErrorText(code));
  EXPECT_NE(messages[0], TNetPathDlg::ConnectionErrorText(ERROR_FILE_NOT_FOUND));
}

}  // namespace
