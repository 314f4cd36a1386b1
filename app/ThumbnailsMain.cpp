#include "app/ThumbnailsMain.h"

#include "app/QnRegistryComponent.h"
#include "app/thumbnail/ClassThumbnail.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/FileCtrl.h"
#include "framework/FileSystem.h"
#include "framework/FormLoader.h"
#include "framework/Menus.h"
#include "framework/Screen.h"
#include "framework/Spin.h"
#include "framework/StdCtrls.h"
#include "skin/WinSkinData.h"
#include "skin/WinSkinStore.h"

namespace pellix {

TThumbnailsForm* ThumbnailsForm = nullptr;

namespace {

const char kRootToken[] = "%root%";
const char kFirstTime[] = "First Time";
const char kSubUser[] = "Options\\User";
const char kSubFonts[] = "Options\\Fonts";
const char kSubWindows[] = "Options\\Windows";
const char kSubPath[] = "Path";

bool MakeFolder(const std::string& path) { return DirectoryExists(path) || CreateDirectoryA(path.c_str(), nullptr); }

template <class T>
void Bind(TForm& form, T*& field, const char* name) {
    field = FindComponentAs<T>(form, name, "The main window");
}

}  // namespace

std::string PathToStored(const std::string& path) { return kRootToken + (path.size() >= 2 ? path.substr(2) : path); }

std::string PathFromStored(const std::string& stored, const std::string& driveLetter) {
    return StringReplaceAll(stored, kRootToken, driveLetter + ":");
}

bool IsStoredPath(const std::string& value) { return value.rfind(kRootToken, 0) == 0; }

TThumbnailsForm::TThumbnailsForm(TComponent* owner) : TForm(owner) {
    RegisterClassInfo("TThumbnailsForm", "TForm");
    RegisterQnRegistryClasses();
    RegisterWinSkinDataClasses();
    RegisterWinSkinStoreClasses();
    AddHandler("FormCreate", TNotifyEvent([this](TObject* s) { FormCreate(s); }));
    AddHandler("FormClose", TCloseEvent([this](TObject* s, TCloseAction& a) { FormClose(s, a); }));
    AddHandler("FormDestroy", TNotifyEvent([this](TObject* s) { FormDestroy(s); }));
    AddHandler("DirectoryListBoxInputChange", TNotifyEvent([this](TObject* s) { DirectoryListBoxInputChange(s); }));
    AddHandler("DirectoryListBoxOutputChange", TNotifyEvent([this](TObject* s) { DirectoryListBoxOutputChange(s); }));
    AddHandler("EditInputDirExit", TNotifyEvent([this](TObject* s) { EditInputDirExit(s); }));
    AddHandler("EditOutputDirExit", TNotifyEvent([this](TObject* s) { EditOutputDirExit(s); }));
    AddHandler("ActionFontExecute", TNotifyEvent([this](TObject* s) { ActionFontExecute(s); }));
    AddHandler("FontDialog1Apply", TFDApplyEvent([this](TObject* s, HWND w) { FontDialog1Apply(s, w); }));
    RegisterGalleryHandlers();
    RegisterHelpHandlers();
    RegisterSkinHandlers();
}

TThumbnailsForm::~TThumbnailsForm() = default;

void TThumbnailsForm::Loaded() {
    TForm::Loaded();
    Bind(*this, Image1, "Image1");
    Bind(*this, Image2, "Image2");
    Bind(*this, ListBox1, "ListBox1");
    Bind(*this, ListBox2, "ListBox2");
    Bind(*this, DirectoryListBoxInput, "DirectoryListBoxInput");
    Bind(*this, DirectoryListBoxOutput, "DirectoryListBoxOutput");
    Bind(*this, EditInputDir, "EditInputDir");
    Bind(*this, EditOutputDir, "EditOutputDir");
    Bind(*this, EditURL, "EditURL");
    Bind(*this, EditImageDir, "EditImageDir");
    Bind(*this, EditThumbDir, "EditThumbDir");
    Bind(*this, EditImageWidth, "EditImageWidth");
    Bind(*this, EditImageHeight, "EditImageHeight");
    Bind(*this, SpinEditMaxWidth, "SpinEditMaxWidth");
    Bind(*this, SpinEditMaxHeight, "SpinEditMaxHeight");
    Bind(*this, SpinEditQuality, "SpinEditQuality");
    Bind(*this, SpinEditThumbsPerRow, "SpinEditThumbsPerRow");
    Bind(*this, CheckBoxProportional, "CheckBoxProportional");
    Bind(*this, CheckBoxGenerateHTML, "CheckBoxGenerateHTML");
    Bind(*this, CheckBoxGenerateSamples, "CheckBoxGenerateSamples");
    Bind(*this, CheckBoxGenerateThumbnails, "CheckBoxGenerateThumbnails");
    Bind(*this, LabelProcessing, "LabelProcessing");
    Bind(*this, MemoHTML, "MemoHTML");
    Bind(*this, MemoHTMLweb, "MemoHTMLweb");
    Bind(*this, QnRegistry1, "QnRegistry1");
    Bind(*this, FontDialog1, "FontDialog1");
    Bind(*this, Panel1, "Panel1");
    Bind(*this, OpenPictureDialog1, "OpenPictureDialog1");
    Bind(*this, OpenDialog1, "OpenDialog1");
    Bind(*this, SkinData1, "SkinData1");
    Bind(*this, SkinStore1, "SkinStore1");
    Bind(*this, SkinBlue, "SkinBlue");
    Bind(*this, SkinSilver, "SkinSilver");
    Bind(*this, SkinGreen, "SkinGreen");
    Bind(*this, SkinNone, "SkinNone");
    Bind(*this, SkinLoad, "SkinLoad");
}

// ---------------------------------------------------------------- start-up

void TThumbnailsForm::FormCreate(TObject*) {
    DefaultSkin = GetCurrentDir() + "\\" + "default.skn";
    RegistryBase = "Software\\Quendle Software\\Mirovo\\";
    ChooseStartSkin();

    AuthorName = "Aldric Fenmore";
    ProductTitle = "Mirovo";
    SalesAddress = "sales@mirovo.example.com";
    WebSiteURL = "http://www.mirovo.example.com/";

    ReadPaths();
    RestoreFont();
    RestoreWindow();
    SetCurrentDirectoryA(PathApp.c_str());  // a failure keeps the start folder
    Thumbnail = std::make_unique<TThumbnail>();
    MakeDefaultFolders();
    ReadUserOptions();
    ListInputFiles();
    ListOutputFiles();
}

void TThumbnailsForm::ReadPaths() {
    const std::string key = RegistryBase + kSubPath;
    PathInitialDir = QnRegistry1->LoadStringFromRegistry(key, "InitialDir", kFirstTime);
    PathCurrentDir = QnRegistry1->LoadStringFromRegistry(key, "CurrentDir", kFirstTime);
    PathApp = QnRegistry1->LoadStringFromRegistry(key, "PathApp", kFirstTime);
    PathProject = QnRegistry1->LoadStringFromRegistry(key, "PathProject", kFirstTime);

    // A first start records the start folder in every path value.
    const std::string firstKey = RegistryBase + kSubPath + "\\";
    const std::pair<std::string*, const char*> order[] = {
        {&PathApp, "PathApp"}, {&PathInitialDir, "InitialDir"}, {&PathCurrentDir, "CurrentDir"}, {&PathProject, "PathProject"}};
    for (const auto& [field, name] : order) {
        if (*field != kFirstTime) continue;
        *field = PathToStored(GetCurrentDir());
        QnRegistry1->SaveStringToRegistry(firstKey, name, *field);
    }
    std::string cur = GetCurrentDir();
    DriveLetter = cur.substr(0, 1);
    for (std::string* field : {&PathApp, &PathInitialDir, &PathCurrentDir, &PathProject})
        *field = PathFromStored(*field, DriveLetter);
}

void TThumbnailsForm::RestoreFont() {
    const std::string key = RegistryBase + kSubFonts;
    Font()->SetSize(QnRegistry1->LoadIntegerFromRegistry(key, "FontSize", 8));
    std::string name = QnRegistry1->LoadStringFromRegistry(key, "FontName", "");
    if (!name.empty()) Font()->SetName(name);
    bool bold = QnRegistry1->LoadBooleanFromRegistry(key, "FontStyleBold", false);
    bool italic = QnRegistry1->LoadBooleanFromRegistry(key, "FontStyleItalic", false);
    bool underline = QnRegistry1->LoadBooleanFromRegistry(key, "FontStyleUnderline", false);
    bool strikeOut = QnRegistry1->LoadBooleanFromRegistry(key, "FontStyleStrikeout", false);
    if (bold) Font()->SetStyle(fsBold);
    if (italic) Font()->SetStyle(Font()->Style() | fsItalic);
    if (underline) Font()->SetStyle(Font()->Style() | fsUnderline);
    if (strikeOut) Font()->SetStyle(Font()->Style() | fsStrikeOut);
}

void TThumbnailsForm::RestoreWindow() {
    const std::string key = RegistryBase + kSubWindows;
    std::string state = QnRegistry1->LoadStringFromRegistry(key, "WindowState", "Normal");
    if (state == "Normal") {
        int top = QnRegistry1->LoadIntegerFromRegistry(key, "Top", 130);
        SetTop(top);
        SetLeft(QnRegistry1->LoadIntegerFromRegistry(key, "Left", 130));
        SetWidth(QnRegistry1->LoadIntegerFromRegistry(key, "Width", 800));
        SetHeight(QnRegistry1->LoadIntegerFromRegistry(key, "Height", 555));
        SetPosition(top == 130 ? TPosition::poScreenCenter : TPosition::poDesigned);
    } else if (state == "Minimized") {
        SetWindowState(TWindowState::wsMinimized);
    } else if (state == "Maximized") {
        SetWindowState(TWindowState::wsMaximized);
    }
}

void TThumbnailsForm::MakeDefaultFolders() {
    const std::string key = RegistryBase + kSubUser;
    const std::string imagesDir = GetCurrentDir() + "\\images\\";
    if (!MakeFolder(imagesDir)) throw Exception("Cannot create input directory " + imagesDir);
    InputDir = QnRegistry1->LoadStringFromRegistry(key, "InputDir", imagesDir);
    EditInputDir->SetTextValue(InputDir);
    if (DirectoryExists(InputDir)) DirectoryListBoxInput->SetDirectory(InputDir);

    const std::string thumbsDir = imagesDir + "thumbs\\";
    if (!MakeFolder(thumbsDir)) throw Exception("Cannot create output directory " + thumbsDir);
    OutputDir = QnRegistry1->LoadStringFromRegistry(key, "OutputDir", thumbsDir);
    EditOutputDir->SetTextValue(OutputDir);
    if (DirectoryExists(OutputDir)) DirectoryListBoxOutput->SetDirectory(OutputDir);
}

void TThumbnailsForm::ReadUserOptions() {
    const std::string key = RegistryBase + kSubUser;
    TQnRegistry& r = *QnRegistry1;
    EditURL->SetTextValue(r.LoadStringFromRegistry(key, "URL", "http://www.example.com/"));
    EditImageDir->SetTextValue(r.LoadStringFromRegistry(key, "ImageDir", "gallery1/"));
    EditThumbDir->SetTextValue(r.LoadStringFromRegistry(key, "ThumbDir", "gallery1/thumbs/"));
    SpinEditMaxHeight->SetValue(r.LoadIntegerFromRegistry(key, "Height", 200));
    SpinEditMaxWidth->SetValue(r.LoadIntegerFromRegistry(key, "Width", 200));
    SpinEditQuality->SetValue(r.LoadIntegerFromRegistry(key, "Quality", 90));
    SpinEditThumbsPerRow->SetValue(r.LoadIntegerFromRegistry(key, "ThumbsPerRow", 5));
    CheckBoxGenerateHTML->SetChecked(r.LoadBooleanFromRegistry(key, "HTML", true));
    CheckBoxGenerateSamples->SetChecked(r.LoadBooleanFromRegistry(key, "Samples", true));
    CheckBoxGenerateThumbnails->SetChecked(r.LoadBooleanFromRegistry(key, "Thumbnails", true));
    CheckBoxProportional->SetChecked(r.LoadBooleanFromRegistry(key, "Proportional", true));
}

// ------------------------------------------------------------ folder lists

void TThumbnailsForm::ListFiles(const std::string& folder, TListBox* box,
                                void (TThumbnailsForm::*add)(const std::string&)) {
    box->Items().Clear();
    // A folder that has gone lists nothing rather than whatever is current.
    if (!SetCurrentDirectoryA(folder.c_str())) return;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA("*.jpg", &fd);
    if (find == INVALID_HANDLE_VALUE) return;
    // The search closes and the arrow returns also when an error ends the loop.
    struct SearchEnd {
        HANDLE find;
        ~SearchEnd() {
            FindClose(find);
            Screen->SetCursor(crDefault);
        }
    } end{find};
    Screen->SetCursor(crHourGlass);
    do {
        std::string name = fd.cFileName;
        if (name != "." && name != "..") (this->*add)(name);
    } while (FindNextFileA(find, &fd));
}

void TThumbnailsForm::ListInputFiles() { ListFiles(InputDir, ListBox1, &TThumbnailsForm::AddFileToInputList); }

void TThumbnailsForm::ListOutputFiles() { ListFiles(OutputDir, ListBox2, &TThumbnailsForm::AddFileToOutputList); }

void TThumbnailsForm::AddFileToInputList(const std::string& name) { ListBox1->Items().Add(name); }

void TThumbnailsForm::AddFileToOutputList(const std::string& name) { ListBox2->Items().Add(name); }

void TThumbnailsForm::DirectoryListBoxInputChange(TObject*) {
    InputDir = DirectoryListBoxInput->Directory() + "\\";
    EditInputDir->SetTextValue(InputDir);
    ListInputFiles();
}

void TThumbnailsForm::DirectoryListBoxOutputChange(TObject*) {
    OutputDir = DirectoryListBoxOutput->Directory() + "\\";
    EditOutputDir->SetTextValue(OutputDir);
    ListOutputFiles();
}

void TThumbnailsForm::EditInputDirExit(TObject*) { InputDir = EditInputDir->Text(); }

void TThumbnailsForm::EditOutputDirExit(TObject*) { OutputDir = EditOutputDir->Text(); }

// -------------------------------------------------------------------- font

void TThumbnailsForm::ActionFontExecute(TObject*) {
    // Face, style and size only; the Apply button, not OK, changes the font.
    FontDialog1->Options = fdLimitSize;
    FontDialog1->MinFontSize = 8;
    FontDialog1->MaxFontSize = 12;
    FontDialog1->Execute();
}

void TThumbnailsForm::FontDialog1Apply(TObject*, HWND) {
    Font()->Assign(FontDialog1->Font());
    const std::string key = RegistryBase + kSubFonts;
    TQnRegistry& r = *QnRegistry1;
    r.SaveStringToRegistry(key, "FontName", Font()->Name());
    r.SaveIntegerToRegistry(key, "FontSize", Font()->Size());
    r.SaveBooleanToRegistry(key, "FontStyleBold", (Font()->Style() & fsBold) != 0);
    r.SaveBooleanToRegistry(key, "FontStyleItalic", (Font()->Style() & fsItalic) != 0);
    r.SaveBooleanToRegistry(key, "FontStyleUnderline", (Font()->Style() & fsUnderline) != 0);
    r.SaveBooleanToRegistry(key, "FontStyleStrikeout", (Font()->Style() & fsStrikeOut) != 0);
}

// --------------------------------------------------------------- shut-down

void TThumbnailsForm::FormClose(TObject*, TCloseAction&) { SaveRegistry(); }

void TThumbnailsForm::SaveRegistry() {
    TWindowState ws = WindowState();
    const char* state = ws == TWindowState::wsMinimized ? "Minimized" : ws == TWindowState::wsMaximized ? "Maximized" : "Normal";
    TQnRegistry& r = *QnRegistry1;

    const std::string pathKey = RegistryBase + kSubPath;
    const std::pair<std::string*, const char*> paths[] = {
        {&PathCurrentDir, "CurrentDir"}, {&PathInitialDir, "InitialDir"}, {&PathApp, "PathApp"}, {&PathProject, "PathProject"}};
    for (const auto& [field, name] : paths) {
        if (IsStoredPath(*field)) continue;
        *field = PathToStored(*field);
        r.SaveStringToRegistry(pathKey, name, *field);
    }

    const std::string winKey = RegistryBase + kSubWindows;
    r.SaveStringToRegistry(winKey, "WindowState", state);
    if (ws != TWindowState::wsMaximized) {
        // The size the window has with the platform's frame around its client
        // area, as it is restored before any skin frames it: a skin's frame
        // of another size must not make the window grow or shrink at every start.
        const SIZE client = RestoredClientSize(), frame = PlatformFrameSize();
        r.SaveIntegerToRegistry(winKey, "Top", Top());
        r.SaveIntegerToRegistry(winKey, "Left", Left());
        r.SaveIntegerToRegistry(winKey, "Width", client.cx + frame.cx);
        r.SaveIntegerToRegistry(winKey, "Height", client.cy + frame.cy);
    }

    const std::string userKey = RegistryBase + kSubUser;
    r.SaveStringToRegistry(userKey, "ImageDir", EditImageDir->Text());
    r.SaveStringToRegistry(userKey, "ThumbDir", EditThumbDir->Text());
    r.SaveStringToRegistry(userKey, "URL", EditURL->Text());
    r.SaveIntegerToRegistry(userKey, "Height", SpinEditMaxHeight->Value());
    r.SaveIntegerToRegistry(userKey, "Width", SpinEditMaxWidth->Value());
    r.SaveIntegerToRegistry(userKey, "Quality", SpinEditQuality->Value());
    r.SaveIntegerToRegistry(userKey, "ThumbsPerRow", SpinEditThumbsPerRow->Value());
    r.SaveBooleanToRegistry(userKey, "HTML", CheckBoxGenerateHTML->Checked());
    r.SaveBooleanToRegistry(userKey, "Samples", CheckBoxGenerateSamples->Checked());
    r.SaveBooleanToRegistry(userKey, "Thumbnails", CheckBoxGenerateThumbnails->Checked());
    r.SaveBooleanToRegistry(userKey, "Proportional", CheckBoxProportional->Checked());
    r.SaveStringToRegistry(userKey, "InputDir", InputDir);
    r.SaveStringToRegistry(userKey, "OutputDir", OutputDir);
}

void TThumbnailsForm::FormDestroy(TObject*) { Thumbnail.reset(); }

}  // namespace pellix
