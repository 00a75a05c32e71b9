// The skin manager on the platform: the stored skin loaded at start-up as the main window's
// manager is set up, decoding through the imaging component, the default manager, the class
// lists, reloading, the version message, the order in which skin commands reach forms and their
// children, the hot window, the application window's hook and the window-creation hook.
#include <gtest/gtest.h>

#include <wincodec.h>

#include "framework/Application.h"
#include "framework/Form.h"
#include "pixel/WicImageDecoder.h"
#include "skin/EmbeddedSkins.h"
#include "skin/PortableImageDecoder.h"
#include "skin/SkinArchive.h"
#include "skin/sSkinManager.h"
#include "tests/core/SkinPearlMistValues.h"
#include "tests/core/SkinTestSupport.h"
#include "tests/win/WinTestSupport.h"

namespace {

// A manager set up as the main window's layout sets it up, read as a component.
ComponentPtr<TsSkinManager> MainWindowManager() {
  ComponentPtr<TsSkinManager> manager(new TsSkinManager(nullptr));
  manager->BeginLoading();
  manager->SetExtendedBorders(true);
  TsStoredSkin* stored = manager->InternalSkins()->Add();
  stored->SetName(kPearlMistSkinName);
  stored->SetData(PearlMistArchive());
  manager->MenuSupport()->SetIcoLineSkin(L"ICOLINE");
  manager->SetSkinDirectory(L"c:\\Skins");
  manager->SetSkinName(kPearlMistSkinName);
  manager->ThirdParty()->SetText(tpEdits, L" \r\nTEdit\r\nTMemo\r\nTOvFilelistView28\r\n");
  manager->ThirdParty()->SetText(tpGrids, L"");
  manager->EndLoading();
  return manager;
}

std::vector<std::wstring>& Log() {
  static std::vector<std::wstring> log;
  return log;
}

// Answers the skin-awareness question as asked and logs every other skin command it gets.
template <class Base>
class Recorder : public Base {
 public:
  Recorder(TComponent* owner, std::wstring label, bool aware) : Base(owner), label_(std::move(label)), aware_(aware) {}

 protected:
  void WndProc(TMessage& message) override {
    if (message.Msg == SM_LACQUERCMD) {
      uint16_t command = SkinCommandOf(message.WParam);
      if (command == scIsSkinAware) {
        message.Result = aware_ ? 1 : 0;
      } else {
        Log().push_back(label_ + L":" + std::to_wstring(command));
        message.Result = 0;
      }
      return;
    }
    Base::WndProc(message);
  }

 private:
  std::wstring label_;
  bool aware_;
};
using RecordingForm = Recorder<TForm>;
using RecordingWindow = Recorder<TCustomControl>;
using RecordingGraphic = Recorder<TGraphicControl>;

template <class T>
T* Child(TComponent* owner, TWinControl* parent, const wchar_t* label, bool aware) {
  T* control = new T(owner, label, aware);
  control->SetParent(parent);
  control->SetBounds(0, 0, 20, 20);
  return control;
}

std::vector<std::wstring> LoggedFor(uint16_t command) {
  std::vector<std::wstring> out;
  std::wstring suffix = L":" + std::to_wstring(command);
  for (const std::wstring& entry : Log())
    if (entry.size() > suffix.size() && entry.compare(entry.size() - suffix.size(), suffix.size(), suffix) == 0)
      out.push_back(entry.substr(0, entry.size() - suffix.size()));
  return out;
}

// A skin folder with the given options text in a skin directory held in memory.
struct FolderSkin {
  skintest::MemoryFileSystem files{L"C:\\App\\"};
  explicit FolderSkin(const std::string& options) { files.Add(L"c:\\Skins\\Test\\Options.dat", skintest::Bytes(options)); }
};

}  // namespace

TEST(SkinManager, StoredSkinLoadsAtStartUpWithEveryValue) {
  ComponentPtr<TsSkinManager> manager = MainWindowManager();
  EXPECT_TRUE(manager->Active());
  EXPECT_TRUE(manager->Skin().Data.Active);
  EXPECT_TRUE(manager->IsPacked());
  EXPECT_EQ(manager->SkinName(), kPearlMistSkinName);
  EXPECT_EQ(manager->SkinInfo(), L"6.5");
  EXPECT_EQ(manager->Skin().Sections.size(), 26u);
  EXPECT_EQ(manager->Skin().Items.size(), 44u);
  EXPECT_EQ(manager->Skin().Patterns.size(), 0u);
  const TvlSkinConvertor& reader = skintest::PearlMist();
  skintest::ExpectPearlMistTables(manager->Skin(), std::string(reader.Options->begin(), reader.Options->end()));

  const TsCommonIndexes& indexes = manager->CommonIndexes();
  EXPECT_EQ(indexes.GlobalInfo, manager->SectionIndexOf("GLOBALINFO"));
  EXPECT_GE(indexes.ExBorder, 0);
  EXPECT_TRUE(manager->ExtendedBorders());
  EXPECT_EQ(manager->ShadowMargins(), (Rect{16, 16, 16, 16}));
  EXPECT_EQ(manager->ShadowActive().Format(), PixelFormat::pf32bit);
  EXPECT_EQ(manager->GlobalColor(), 15461355);
  EXPECT_TRUE(manager->IsValidSection(indexes.GlobalInfo));
  EXPECT_EQ(manager->SectionIndexOf("button"), -1);
  EXPECT_EQ(manager->Version(), L"6.55");
}

TEST(SkinManager, ASkinWithoutItsOwnExtendedBorderCastsTheBuiltInShadow) {
  FolderSkin folder("[GLOBALINFO]\r\nVERSION=6\r\nBORDERWIDTH=4\r\n[FORM]\r\nCOLOR=1\r\n");
  ComponentPtr<TsSkinManager> manager(new TsSkinManager(nullptr));
  manager->SetFileSystem(&folder.files);
  manager->SetExtendedBorders(true);
  manager->SetSkinName(L"Test");
  ASSERT_TRUE(manager->Skin().Data.Active);
  EXPECT_EQ(manager->CommonIndexes().ExBorder, -1);
  // The built-in margins, one more each with desktop composition.
  const Rect m = manager->ShadowMargins();
  const int grow = m.left - 11;
  EXPECT_TRUE(grow == 0 || grow == 1) << m.left;
  EXPECT_EQ(m, (Rect{11 + grow, 7 + grow, 11 + grow, 11 + grow}));
  // The program's own pictures: a shadow around a transparent window rectangle, darker for the
  // active window.
  for (const Bitmap* picture : {&manager->ShadowActive(), &manager->ShadowInactive()}) {
    ASSERT_EQ(picture->Format(), PixelFormat::pf32bit);
    ASSERT_EQ(picture->Width(), 64);
    ASSERT_EQ(picture->Height(), 64);
    EXPECT_EQ(picture->GetPixel(32, 32) >> 24, 0u) << "inside the window";
    EXPECT_GT(picture->GetPixel(32, 60) >> 24, 0u) << "below the window";
    EXPECT_EQ(picture->GetPixel(0, 0) >> 24, 0u) << "far corner";
  }
  EXPECT_GT(manager->ShadowActive().GetPixel(32, 55) >> 24, manager->ShadowInactive().GetPixel(32, 55) >> 24);
}

TEST(SkinManager, RemovingTheSkinClearsItsIndexesAndShadow) {
  ComponentPtr<TsSkinManager> manager = MainWindowManager();
  ASSERT_GE(manager->CommonIndexes().ExBorder, 0);
  ASSERT_FALSE(manager->ShadowActive().Empty());
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    manager->SetActive(false);
    const TsCommonIndexes& indexes = manager->CommonIndexes();
    EXPECT_EQ(indexes.GlobalInfo, -1);
    EXPECT_EQ(indexes.ExBorder, -1);
    EXPECT_EQ(indexes.ScrollBar1H.Section, -1);
    EXPECT_EQ(manager->ShadowMargins(), Rect{});
    EXPECT_TRUE(manager->ShadowActive().Empty());
    EXPECT_TRUE(manager->ShadowInactive().Empty());
    manager->SetActive(true);
    EXPECT_GE(manager->CommonIndexes().ExBorder, 0);
    EXPECT_EQ(manager->ShadowMargins(), (Rect{16, 16, 16, 16}));
    EXPECT_FALSE(manager->ShadowActive().Empty());
  }
}

TEST(SkinManager, ImagingComponentDecodesTheStoredSkinLikeThePortableDecoder) {
  WicImageDecoder platform;
  PortableImageDecoder portable;
  for (const TvlImageItem& member : skintest::PearlMist().ImageData) {
    ImageFileKind kind = member.IsBitmap ? ImageFileKind::ifBmp : ImageFileKind::ifPng;
    std::optional<Bitmap> a = platform.Decode(kind, member.Data), b = portable.Decode(kind, member.Data);
    ASSERT_TRUE(a && b) << member.MemberName;
    EXPECT_TRUE(*a == *b) << member.MemberName;
    if (!member.IsBitmap) {
      EXPECT_EQ(a->Format(), PixelFormat::pf32bit) << member.MemberName;
    }
  }
}

TEST(SkinManager, ImagingComponentDecodesJpegTo24Bits) {
  // A JPEG made by the platform's own encoder.
  ComPtr<IWICImagingFactory> factory;
  ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                         reinterpret_cast<void**>(factory.Receive()))));
  ComPtr<IStream> stream;
  ASSERT_TRUE(SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Receive())));
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  ASSERT_TRUE(SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.Receive())));
  ASSERT_TRUE(SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)));
  ASSERT_TRUE(SUCCEEDED(encoder->CreateNewFrame(frame.Receive(), nullptr)));
  ASSERT_TRUE(SUCCEEDED(frame->Initialize(nullptr)));
  ASSERT_TRUE(SUCCEEDED(frame->SetSize(30, 20)));
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  ASSERT_TRUE(SUCCEEDED(frame->SetPixelFormat(&format)));
  std::vector<BYTE> pixels(30 * 3 * 20, 0x80);
  ASSERT_TRUE(SUCCEEDED(frame->WritePixels(20, 90, static_cast<UINT>(pixels.size()), pixels.data())));
  ASSERT_TRUE(SUCCEEDED(frame->Commit()));
  ASSERT_TRUE(SUCCEEDED(encoder->Commit()));
  HGLOBAL memory = nullptr;
  ASSERT_TRUE(SUCCEEDED(GetHGlobalFromStream(stream.Get(), &memory)));
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  const uint8_t* bytes = static_cast<const uint8_t*>(GlobalLock(memory));
  std::vector<uint8_t> jpeg(bytes, bytes + stat.cbSize.QuadPart);
  GlobalUnlock(memory);

  std::optional<Bitmap> picture = WicImageDecoder().Decode(ImageFileKind::ifJpeg, jpeg);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->Format(), PixelFormat::pf24bit);
  EXPECT_EQ(picture->Width(), 30);
  EXPECT_EQ(picture->Height(), 20);
  EXPECT_FALSE(WicImageDecoder().Decode(ImageFileKind::ifJpeg, skintest::Bytes("not a picture")));
}

TEST(SkinManager, TheFirstManagerIsTheDefaultUntilItGoes) {
  ASSERT_EQ(TsSkinManager::DefaultManager(), nullptr);
  ComponentPtr<TsSkinManager> first(new TsSkinManager(nullptr));
  ComponentPtr<TsSkinManager> second(new TsSkinManager(nullptr));
  EXPECT_EQ(TsSkinManager::DefaultManager(), first.get());
  EXPECT_TRUE(first->IsDefault());
  EXPECT_FALSE(second->IsDefault());
  first.reset();
  EXPECT_EQ(TsSkinManager::DefaultManager(), nullptr);
  second->SetActive(false);
  second->SetIsDefault(true);
  EXPECT_EQ(TsSkinManager::DefaultManager(), second.get());
}

TEST(SkinManager, ClassListsAreSplitWhenReadAndRefilledWhenEmpty) {
  ComponentPtr<TsSkinManager> manager = MainWindowManager();
  TStringList* edits = manager->ThirdLists(tpEdits);
  ASSERT_EQ(edits->Count(), 4);
  EXPECT_EQ(edits->Strings(0), L" ");
  EXPECT_EQ(edits->Strings(1), L"TEdit");
  EXPECT_EQ(edits->Strings(3), L"TOvFilelistView28");
  EXPECT_EQ(manager->ThirdParty()->Text(tpGrids), L" ");
  EXPECT_EQ(manager->ThirdLists(tpButtons)->Strings(0), L"TButton");
}

TEST(SkinManager, ShiftsReloadOnlyANewValueWhileASkinIsInForce) {
  ComponentPtr<TsSkinManager> manager = MainWindowManager();
  const int form = manager->SectionIndexOf("FORMTITLE");
  const TColor before = manager->Skin().Sections[static_cast<size_t>(form)].FontColor[0];
  manager->SetHueOffset(0);
  EXPECT_EQ(manager->Skin().Sections[static_cast<size_t>(form)].FontColor[0], before);
  manager->SetHueOffset(180);
  EXPECT_NE(manager->Skin().Sections[static_cast<size_t>(form)].FontColor[0], before);
  manager->SetHueOffset(0);  // reloaded from the source: shifts never accumulate
  EXPECT_EQ(manager->Skin().Sections[static_cast<size_t>(form)].FontColor[0], before);

  manager->SetActive(false);
  EXPECT_EQ(manager->SkinInfo(), L"N/A");
  EXPECT_TRUE(manager->Skin().Sections.empty());
  manager->SetSaturation(50);
  EXPECT_EQ(manager->Saturation(), 50);
  EXPECT_TRUE(manager->Skin().Sections.empty());
}

TEST(SkinManager, NewSkinVersionsShowTheMessageOncePerLoad) {
  std::vector<std::wstring> messages;
  SkinManagerServices().showMessage = [&](const std::wstring& text) { messages.push_back(text); };
  FolderSkin folder("[GLOBALINFO]\r\nVERSION=7\r\n[FORM]\r\nCOLOR=1\r\n");
  ComponentPtr<TsSkinManager> manager(new TsSkinManager(nullptr));
  manager->SetFileSystem(&folder.files);
  manager->SetSkinName(L"Test");
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_TRUE(manager->Skin().Data.Active);
  EXPECT_EQ(manager->Skin().Data.SkinPath, L"c:\\Skins\\Test\\");
  manager->SetSkinName(L"Test");
  EXPECT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], L"This version of the skin have not complete support by used Lacquer package release.\r\n"
                         L"Components must be updated up to latest version for using this skin.");
  SkinManagerServices().showMessage = nullptr;
}

TEST(SkinManager, NoSkinAtAllRemovesTheSkin) {
  skintest::MemoryFileSystem files(L"C:\\App\\");
  ComponentPtr<TsSkinManager> manager(new TsSkinManager(nullptr));
  manager->SetFileSystem(&files);
  Log().clear();
  ComponentPtr<RecordingForm> form(new RecordingForm(nullptr, L"form", false));
  form->HandleNeeded();
  manager->SetSkinName(L"Nowhere");
  EXPECT_FALSE(manager->Active());
  EXPECT_EQ(LoggedFor(scSkinRemoved), std::vector<std::wstring>{L"form"});

  manager->SetActive(true);  // tries "Nowhere" again: still nothing
  EXPECT_FALSE(manager->Active());
}

namespace {

// A decoder for which every picture needs more memory than there is.
class OutOfMemoryDecoder : public ImageDecoder {
 public:
  std::optional<Bitmap> Decode(ImageFileKind, std::span<const uint8_t>) const override { throw std::bad_alloc(); }
};

}  // namespace

TEST(SkinManager, ASkinThatFailsToLoadGivesWayToTheStoredSkinOrThePlainLookAndIsReportedOnce) {
  const std::vector<uint8_t> badOptions = skintest::Bytes("[GLOBALINFO]\r\nVERSION=6\r\n[BUTTON]\r\nBORDERSMASK=^0474^0000\r\n");
  const std::vector<uint8_t> badOptionsArchive = skintest::Archive({{"Options.dat", badOptions}});
  OutOfMemoryDecoder outOfMemory;
  const struct {
    const char* what;
    const wchar_t* file;  // put into the skin directory under the stored skin's name
    std::vector<uint8_t> bytes;
    bool storedSkinBroken;
    const ImageDecoder* decoder;
    bool storedSkinInForce;
    const wchar_t* error;  // part of the message
  } cases[] = {
      {"damaged archive", L".vlz", skintest::Bytes("BADxxxxx"), false, nullptr, true,
       L"Loaded data is not packed Velour file"},
      {"malformed options in a skin folder", L"\\Options.dat", badOptions, false, nullptr, true,
       L"[BUTTON] BORDERSMASK"},
      {"stored skin with malformed options", nullptr, {}, true, nullptr, false, L"[BUTTON] BORDERSMASK"},
      {"both broken", L".vlz", skintest::Bytes("BADxxxxx"), true, nullptr, false,
       L"The stored skin could not be loaded either"},
      {"out of memory", nullptr, {}, false, &outOfMemory, false, L"bad_alloc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::wstring>& errors = wintest::RecordedErrors();
    errors.clear();
    skintest::MemoryFileSystem files(L"C:\\App\\");
    if (c.file) files.Add(std::wstring(L"c:\\Skins\\") + kPearlMistSkinName + c.file, c.bytes);
    ComponentPtr<TsSkinManager> manager(new TsSkinManager(nullptr));
    manager->SetFileSystem(&files);
    manager->SetImageDecoder(c.decoder);
    TsStoredSkin* stored = manager->InternalSkins()->Add();
    stored->SetName(kPearlMistSkinName);
    stored->SetData(c.storedSkinBroken ? std::span<const uint8_t>(badOptionsArchive) : PearlMistArchive());
    manager->SetSkinDirectory(L"c:\\Skins");
    manager->SetSkinName(kPearlMistSkinName);  // raises nothing

    EXPECT_EQ(manager->Active(), c.storedSkinInForce);
    EXPECT_EQ(manager->Skin().Data.Active, c.storedSkinInForce);
    EXPECT_EQ(manager->Skin().Sections.size(), c.storedSkinInForce ? 26u : 0u);
    EXPECT_EQ(manager->SkinName(), kPearlMistSkinName);
    EXPECT_TRUE(errors.empty());  // shown once the messages waiting now are handled
    wintest::Pump();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(L"The skin \"" + std::wstring(kPearlMistSkinName) + L"\" could not be loaded"),
              std::wstring::npos)
        << errors[0];
    EXPECT_NE(errors[0].find(c.error), std::wstring::npos) << errors[0];
    wintest::Pump();
    EXPECT_EQ(errors.size(), 1u);
  }
}

TEST(SkinManager, CommandsReachFormsLastFirstEachBeforeItsChildren) {
  ComponentPtr<TsSkinManager> manager = MainWindowManager();
  ComponentPtr<RecordingForm> formA(new RecordingForm(nullptr, L"A", false));
  auto* panel = Child<RecordingWindow>(formA.get(), formA.get(), L"A.panel", false);
  Child<RecordingWindow>(formA.get(), panel, L"A.panel.aware", true);
  Child<RecordingGraphic>(formA.get(), panel, L"A.panel.graphic", false);
  auto* awareBox = Child<RecordingWindow>(formA.get(), formA.get(), L"A.aware", true);
  Child<RecordingWindow>(formA.get(), awareBox, L"A.aware.inner", false);
  // Form B has no window yet: it and its children get the command directly, skin-aware or not.
  ComponentPtr<RecordingForm> formB(new RecordingForm(nullptr, L"B", false));
  Child<RecordingWindow>(formB.get(), formB.get(), L"B.aware", true);
  Child<RecordingWindow>(formB.get(), formB.get(), L"B.plain", false);
  ComponentPtr<RecordingForm> skinAware(new RecordingForm(nullptr, L"C", true));
  formA->HandleNeeded();
  skinAware->HandleNeeded();

  Log().clear();
  manager->BroadcastSkinCommand(scRefresh, reinterpret_cast<LPARAM>(manager.get()));
  std::vector<std::wstring> expected{L"B", L"B.aware", L"B.plain", L"A", L"A.panel.aware", L"A.panel.graphic", L"A.aware"};
  EXPECT_EQ(LoggedFor(scRefresh), expected);

  // A skin change announces the new skin the same way, after the refresh preparations.
  Log().clear();
  manager->SetSkinName(kPearlMistSkinName);
  EXPECT_EQ(LoggedFor(scSkinApplied), expected);
  EXPECT_EQ(LoggedFor(scRefresh), expected);
  EXPECT_EQ(LoggedFor(scBeforeRefresh), expected);
}

TEST(SkinManager, HotWindowChangesAreAnnounced) {
  ComponentPtr<TsSkinManager> manager(new TsSkinManager(nullptr));
  ComponentPtr<RecordingForm> a(new RecordingForm(nullptr, L"a", false));
  ComponentPtr<RecordingForm> b(new RecordingForm(nullptr, L"b", false));
  Log().clear();
  manager->SetHotWindow(a->Handle());
  manager->SetHotWindow(a->Handle());
  manager->SetHotWindow(b->Handle());
  manager->SetHotWindow(nullptr);
  EXPECT_EQ(Log(), (std::vector<std::wstring>{L"a:29", L"a:30", L"b:29", L"b:30"}));
}

TEST(SkinManager, ApplicationActivationAndNewWindowsAreWatched) {
  ComponentPtr<TsSkinManager> manager = MainWindowManager();
  ComponentPtr<RecordingForm> form(new RecordingForm(nullptr, L"form", false));
  form->HandleNeeded();
  Log().clear();
  SendMessageW(Application->Handle(), CM_ACTIVATE, 0, 0);
  EXPECT_EQ(LoggedFor(scApplicationActivated), std::vector<std::wstring>{L"form"});
  EXPECT_EQ(SendMessageW(Application->Handle(), WM_THEMECHANGED, 0, 0), 0);

  std::vector<HWND> created;
  SkinManagerServices().windowCreated = [&](HWND window) { created.push_back(window); };
  UniqueWindow window(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
  EXPECT_NE(std::find(created.begin(), created.end(), window.get()), created.end());
  manager->SetActive(false);  // the hook goes with the skin
  created.clear();
  UniqueWindow other(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
  EXPECT_TRUE(created.empty());
  SkinManagerServices().windowCreated = nullptr;
}

TEST(SkinManager, ListsTheStoredSkinAndTheSkinDirectory) {
  ComponentPtr<TsSkinManager> manager = MainWindowManager();
  wintest::TempFolder folder;
  folder.Create(L"Blue.vlz");
  CreateDirectoryW(folder.File(L"Green").c_str(), nullptr);
  folder.Create(L"Green\\Options.dat");
  manager->SetSkinDirectory(folder.Path());
  TStringList list;
  EXPECT_EQ(manager->ListSkins(list, 2), kPearlMistSkinName);
  EXPECT_EQ(list.Text(), std::wstring(L"Blue\r\nGreen\r\n") + kPearlMistSkinName + L"\r\n");
}
