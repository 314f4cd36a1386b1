// The main window of the program: start-up, settings and shut-down, the
// folder lists, and the commands bound in its form description.
#pragma once

#include <memory>
#include <string>

#include "framework/Forms.h"

namespace pellix {

class TLabel;
class TImage;
class TEdit;
class TMemo;
class TListBox;
class TCheckBox;
class TSpinEdit;
class TDirectoryListBox;
class TThumbnail;
class TQnRegistry;
class TFontDialog;
class TPanel;
class TOpenPictureDialog;
class TOpenDialog;
class TMenuItem;
class TSkinData;
class TSkinStore;

class TThumbnailsForm : public TForm {
public:
    explicit TThumbnailsForm(TComponent* owner);
    ~TThumbnailsForm() override;
    std::string ClassName() const override { return "TThumbnailsForm"; }

    // Controls of the description, found by name once it is read.
    TImage* Image1 = nullptr;
    TImage* Image2 = nullptr;
    TListBox* ListBox1 = nullptr;
    TListBox* ListBox2 = nullptr;
    TDirectoryListBox* DirectoryListBoxInput = nullptr;
    TDirectoryListBox* DirectoryListBoxOutput = nullptr;
    TEdit* EditInputDir = nullptr;
    TEdit* EditOutputDir = nullptr;
    TEdit* EditURL = nullptr;
    TEdit* EditImageDir = nullptr;
    TEdit* EditThumbDir = nullptr;
    TEdit* EditImageWidth = nullptr;
    TEdit* EditImageHeight = nullptr;
    TSpinEdit* SpinEditMaxWidth = nullptr;
    TSpinEdit* SpinEditMaxHeight = nullptr;
    TSpinEdit* SpinEditQuality = nullptr;
    TSpinEdit* SpinEditThumbsPerRow = nullptr;
    TCheckBox* CheckBoxProportional = nullptr;
    TCheckBox* CheckBoxGenerateHTML = nullptr;
    TCheckBox* CheckBoxGenerateSamples = nullptr;
    TCheckBox* CheckBoxGenerateThumbnails = nullptr;
    TLabel* LabelProcessing = nullptr;
    TMemo* MemoHTML = nullptr;
    TMemo* MemoHTMLweb = nullptr;
    TQnRegistry* QnRegistry1 = nullptr;
    TFontDialog* FontDialog1 = nullptr;

    // Fields of the window's state.
    std::string CurrentFile;
    std::unique_ptr<TThumbnail> Thumbnail;
    std::string OutputDir;
    std::string InputDir;
    std::string PathCurrentDir, PathInitialDir, PathProject, PathApp;
    std::string DriveLetter;
    std::string AuthorName, ProductTitle, SalesAddress, WebSiteURL;
    std::string RegistryBase;
    std::string DefaultSkin;
    std::string LoadedSkinFile;
    int32_t SkinIndex = 0;

    void FormCreate(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void FormDestroy(TObject* sender);

    void ListInputFiles();
    void ListOutputFiles();
    void AddFileToInputList(const std::string& name);
    void AddFileToOutputList(const std::string& name);
    void DirectoryListBoxInputChange(TObject* sender);
    void DirectoryListBoxOutputChange(TObject* sender);
    void EditInputDirExit(TObject* sender);
    void EditOutputDirExit(TObject* sender);
    void ActionFontExecute(TObject* sender);
    void FontDialog1Apply(TObject* sender, HWND wnd);

    void Loaded() override;

private:
    void SaveRegistry();
    void ReadPaths();
    void RestoreFont();
    void RestoreWindow();
    void MakeDefaultFolders();
    void ReadUserOptions();
    // Lists the "*.jpg" entries of folder into box.
    void ListFiles(const std::string& folder, TListBox* box, void (TThumbnailsForm::*add)(const std::string&));

    // Gallery: single pictures, the batch, the HTML files and View
public:
    TPanel* Panel1 = nullptr;
    TOpenPictureDialog* OpenPictureDialog1 = nullptr;
    void btnLoadClick(TObject* sender);
    void LoadFile();
    void btnExecuteClick(TObject* sender);
    void ButtonThumbnailsClick(TObject* sender);
    void ButtonViewClick(TObject* sender);
    void Button88x88Click(TObject* sender);
    void Button200x200Click(TObject* sender);

private:
    void RegisterGalleryHandlers();
    void FitPreview();
    void ShowThumbnailSize();
    void RepaintLabelNow();

    // Help, web, mail and about box
public:
    void HelpOnHelp1Execute(TObject* sender);
    void HelpContents1Execute(TObject* sender);
    void HelpTopicSearch1Execute(TObject* sender);
    // Opens the contents page at anchor ("#ThumbnailsForm...").
    void HelpOnField(const std::string& anchor);
    // F1: context help for the focused control.
    void FormShortCut(TWMKey& msg, bool& handled);
    void ActionHelpOnWebExecute(TObject* sender);
    void ActionSendMailExecute(TObject* sender);
    // Hands one message to the mail client's own dialog.
    void SendMail(const std::string& recipientName, const std::string& recipientAddress, const std::string& subject,
                  const std::string& body);
    void HelpAboutExecute(TObject* sender);

private:
    void RegisterHelpHandlers();
    void OpenHelpPage(const std::string& page);

    // Skin choice: the "&Skins" menu, the start-up skin and the stored choice
public:
    TSkinData* SkinData1 = nullptr;
    TSkinStore* SkinStore1 = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TMenuItem* SkinBlue = nullptr;
    TMenuItem* SkinSilver = nullptr;
    TMenuItem* SkinGreen = nullptr;
    TMenuItem* SkinNone = nullptr;
    TMenuItem* SkinLoad = nullptr;
    // "&Blue", "&Silver", "&Green": the stored skin of the item's Tag.
    void SkinClick(TObject* sender);
    // "&Unskin": switches skinning off, or back on with the skin last loaded.
    void SkinNoneClick(TObject* sender);
    // "&Load": a skin file from disk.
    void SkinLoadClick(TObject* sender);
    // Checks the item whose Tag equals SkinIndex.
    void SkinMenuCheck(TObject* sender);
    // Stores the choice; the only writer of "Options\Skins".
    void SkinData1SkinChanged(TObject* sender);

private:
    void RegisterSkinHandlers();
    // The skin block of start-up: the stored choice, or "default.skn" on a first start.
    void ChooseStartSkin();
    void LoadStartSkinFile();
};

extern TThumbnailsForm* ThumbnailsForm;

// Stored form of the "Path" values: the drive is replaced by a token, so the
// settings survive the program moving to another drive letter.
std::string PathToStored(const std::string& path);
std::string PathFromStored(const std::string& stored, const std::string& driveLetter);
bool IsStoredPath(const std::string& value);

}  // namespace pellix
