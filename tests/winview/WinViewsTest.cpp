// The window on a screen, in the process: what the models hold reaches the native controls and what the user
// does there reaches the models. Needs a display, so window-test.sh runs it under Xvfb.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/TextCodec.h"
#include "ui/DialogDesigns.h"
#include "ui/MainFormDesign.h"
#include "ui/Tags.h"
#include "winview/Win32.h"
#include "winview/WinApplication.h"
#include "winview/WinBinder.h"

namespace {

std::wstring Text(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The first control of the window whose class and text are these.
HWND Find(HWND window, const wchar_t* windowClass, const std::wstring& text) {
  struct Search {
    const wchar_t* windowClass;
    const std::wstring& text;
    HWND found = nullptr;
  } search{windowClass, text};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM data) {
        auto& s = *reinterpret_cast<Search*>(data);
        wchar_t name[32] = {};
        GetClassNameW(child, name, 32);
        if (lstrcmpiW(name, s.windowClass) == 0 && Text(child) == s.text) s.found = child;
        return s.found == nullptr ? TRUE : FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  EXPECT_NE(search.found, nullptr) << "no control showing the text";
  return search.found;
}

class WinViews : public testing::Test {
 protected:
  // Runs the windows with check as their first task, then closes the main form.
  void RunWindows(const std::function<void(HWND main)>& check) {
    app.Title = "Torvane-S1";
    app.Loop().Post([&] {
      struct CloseAtEnd {
        ui::TForm& form;
        ~CloseAtEnd() { form.Close(); }
      } closeAtEnd{form};
      HWND main = FindWindowW(L"DtuConfigMain", nullptr);
      ASSERT_NE(main, nullptr);
      check(main);
    });
    screen.Run(app, form, about, apn);
  }
  // Draws what the test changed in the models, as the loop does after every task, and lets the windows
  // handle what the test sent them.
  void Settle() {
    winview::WinBinder::RefreshAll();
    app.Loop().ProcessMessages();
  }

  winview::WinApplication screen;
  ui::Application app{screen.Loop(), screen.Host()};
  ui::TMainFormDesign form{app};
  ui::TAboutFormDesign about{app};
  ui::TApnFormDesign apn{app};
};

TEST_F(WinViews, ModelsAndControlsFollowEachOther) {
  int protocolChanges = 0;
  form.cbb_NetProtocol.OnChange = [&](ui::Control&) { ++protocolChanges; };
  form.edt_Port.OnKeyPress = [](ui::Control&, char& key) {
    if (key < '0' || key > '9') key = 0;
  };
  RunWindows([&](HWND main) {
    // The designed Chinese captions, through code page 936.
    Find(main, L"Button", L" DTU\u8BBE\u5907\u53C2\u6570\u8BBE\u7F6E ");

    // Typed into the port field: the key filter decides, then the model holds what the field shows.
    HWND port = Find(main, L"Edit", L"2317");
    SendMessageW(port, EM_SETSEL, 4, 4);
    SendMessageW(port, WM_CHAR, 'x', 1);
    SendMessageW(port, WM_CHAR, '9', 1);
    EXPECT_EQ(form.edt_Port.Text(), "23179");
    EXPECT_EQ(Text(port), L"23179");

    // The user's choice raises the change event; the program's does not, and shows.
    HWND protocol = Find(main, L"ComboBox", L"TCP");
    SendMessageW(protocol, CB_SETCURSEL, 1, 0);
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(protocol), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(protocol));
    EXPECT_EQ(form.cbb_NetProtocol.ItemIndex(), 1);
    // The wheel over a list without the focus chooses nothing.
    SetFocus(port);
    SendMessageW(protocol, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(form.cbb_NetProtocol.ItemIndex(), 1);
    form.cbb_NetProtocol.SetItemIndex(0);
    form.btn_Read.SetEnabled(false);
    form.lbl_IP.SetCaption("IP");
    form.AddInfo(platform::Utf8ToGbk("[发送]：AT+CIPR?"));
    form.mmo_Info.Clear();
    form.AddInfo("one");
    form.AddInfo("two");
    form.N3.SetCaption("English(&L)x");
    Settle();
    EXPECT_EQ(protocolChanges, 1);
    EXPECT_EQ(SendMessageW(protocol, CB_GETCURSEL, 0, 0), 0);
    EXPECT_FALSE(IsWindowEnabled(Find(main, L"Button", L"\u8BFB\u53D6\u8BBE\u5907\u914D\u7F6E")));
    // A two-line caption from the language file grows its label to show both lines, and shrinks back.
    HWND ip = Find(main, L"Static", L"IP");
    auto height = [ip] {
      RECT place;
      GetWindowRect(ip, &place);
      return place.bottom - place.top;
    };
    const auto oneLine = height();
    form.lbl_IP.SetCaption("IP\nhost");
    Settle();
    EXPECT_GT(height(), oneLine + 8);
    form.lbl_IP.SetCaption("IP");
    Settle();
    EXPECT_EQ(height(), oneLine);
    Find(main, L"Edit", L"  one\r\n  two");
    wchar_t language[32] = {};
    GetMenuStringW(GetMenu(main), 1, language, 32, MF_BYPOSITION);
    EXPECT_STREQ(language, L"English(&L)x");
  });
}

TEST_F(WinViews, EscapeEndsWhatRunsFromAnyFieldAndOnlyThen) {
  int cancels = 0;
  form.N16.OnClick = [&](ui::Control&) { ++cancels; };
  RunWindows([&](HWND main) {
    HWND port = Find(main, L"Edit", L"2317");
    SetFocus(port);
    PostMessageW(port, WM_KEYDOWN, VK_ESCAPE, 1);
    Settle();
    EXPECT_EQ(cancels, 0) << "Cancel is offered only while something runs";
    form.N16.SetEnabled(true);
    Settle();
    PostMessageW(port, WM_KEYDOWN, VK_ESCAPE, 1);
    // A focused control that went grey leaves no focus; keys then come as system keys.
    PostMessageW(main, WM_SYSKEYDOWN, VK_ESCAPE, 1);
    Settle();
    EXPECT_EQ(cancels, 2);
  });
}

// A larger window gives the room to the log, and where the user left it is kept in the form; the command box
// takes its row from the log while shown and gives Up, Down and Enter to its handler.
TEST_F(WinViews, TheLogTakesTheRoomAndTheCommandBoxGetsUpDownAndEnter) {
  std::vector<ui::TKey> keys;
  form.edt_Command.OnKeyDown = [&](ui::Control&, ui::TKey key) {
    keys.push_back(key);
    return true;
  };
  RunWindows([&](HWND main) {
    form.AddInfo("log");
    form.edt_Command.SetText("AT+CSQ");
    Settle();
    HWND log = Find(main, L"Edit", L"  log");
    HWND box = Find(main, L"Edit", L"AT+CSQ");
    auto size = [](HWND window) {
      RECT place;
      GetWindowRect(window, &place);
      return SIZE{place.right - place.left, place.bottom - place.top};
    };
    const SIZE designed = size(log);
    EXPECT_FALSE(IsWindowVisible(box));
    EXPECT_FALSE(form.Place) << "shown where it was designed: nothing to keep";

    const SIZE window = size(main);
    SetWindowPos(main, nullptr, 0, 0, window.cx + 200, window.cy + 100, SWP_NOMOVE | SWP_NOZORDER);
    Settle();
    EXPECT_EQ(size(log).cx, designed.cx + 200);
    EXPECT_EQ(size(log).cy, designed.cy + 100);
    ASSERT_TRUE(form.Place);
    EXPECT_EQ(form.Place->width, window.cx + 200);

    form.edt_Command.SetVisible(true);
    Settle();
    EXPECT_TRUE(IsWindowVisible(box));
    EXPECT_LT(size(log).cy, designed.cy + 100);
    SetFocus(box);
    for (const UINT key : {VK_UP, VK_DOWN, VK_RETURN}) PostMessageW(box, WM_KEYDOWN, key, 1);
    Settle();
    EXPECT_EQ(keys, (std::vector<ui::TKey>{ui::TKey::Up, ui::TKey::Down, ui::TKey::Enter}));
    EXPECT_EQ(Text(box), L"AT+CSQ") << "the keys acted on do not edit the field";
  });
}

TEST_F(WinViews, DialogsAndQuestionsAreModalAndAQuestionDefaultsToNo) {
  RunWindows([&](HWND main) {
    // The APN dialog closes by its close button; meanwhile the main window takes no input.
    bool mainDisabled = false;
    app.Loop().Post([&] {
      mainDisabled = IsWindowEnabled(main) == FALSE;
      PostMessageW(GetForegroundWindow(), WM_CLOSE, 0, 0);
    });
    apn.ShowModal();
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_FALSE(apn.Visible());

    // Enter answers the question with its default, Escape with no; the first button is yes.
    for (const auto& [command, yes] :
         {std::pair{IDOK, false}, std::pair{IDCANCEL, false}, std::pair{100, true}}) {
      app.Loop().Post([command = command] {
        PostMessageW(FindWindowW(L"DtuConfigMessage", nullptr), WM_COMMAND, MAKEWPARAM(command, BN_CLICKED),
                     0);
      });
      EXPECT_EQ(app.Ask("Write?", "Yes", "No"), yes) << "command " << command;
    }
  });
}

}  // namespace
