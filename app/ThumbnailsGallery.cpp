// The picture work of the main window: one picture at a time, the batch over
// the input list with its two HTML files, the View command and the presets.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/ShellHelpers.h"
#include "app/ThumbnailsMain.h"
#include "app/thumbnail/ClassThumbnail.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/FileCtrl.h"
#include "framework/FileSystem.h"
#include "framework/Jpeg.h"
#include "framework/Screen.h"
#include "framework/Spin.h"
#include "framework/StdCtrls.h"
#include "framework/Streams.h"

namespace pellix {

namespace {

const char kNotValidPicture[] = "ERROR: This file is not a valid JPEG image - ";
const char kNotepadMissing[] = "ERROR: Notepad could not be found or could not open the file. ";
const char kNotepadMissingEnd[] =
    " is missing and/or cannot be executed. Check the 'Generate HTML' checkbox and press Create.";
const char kNoSamples[] = "Sample file has not been created. Check the 'Generate Samples' checkbox and press Create.";

// Name and extension, without the folder.
std::string FileNameOf(const std::string& path) {
    size_t at = path.find_last_of("\\/:");
    return at == std::string::npos ? path : path.substr(at + 1);
}

std::string FullPathOf(const std::string& path) {
    char buf[MAX_PATH * 4];
    DWORD n = GetFullPathNameA(path.c_str(), sizeof(buf), buf, nullptr);
    return n > 0 && n < sizeof(buf) ? std::string(buf, n) : path;
}

std::string SystemMessage(DWORD code) {
    char* text = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = n > 0 && text != nullptr ? std::string(text, n) : "System error " + IntToStr(code);
    if (text != nullptr) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message;
}

[[noreturn]] void CannotWrite(const std::string& path, DWORD code) {
    throw EFCreateError(FormatMessage1("Cannot create file \"%s\"", path) + ". " + SystemMessage(code));
}

class FileHandle {
public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return h_; }
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
    bool Close() {
        if (!Valid()) return true;
        BOOL ok = CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return ok != FALSE;
    }

private:
    HANDLE h_;
};

// A scratch file beside the target; removed unless it has become the target.
class ScratchFile {
public:
    explicit ScratchFile(const std::string& target) {
        std::string folder = target.substr(0, target.find_last_of('\\') + 1);
        char name[MAX_PATH * 4];
        if (folder.size() >= MAX_PATH - 14 || GetTempFileNameA(folder.c_str(), "plx", 0, name) == 0)
            CannotWrite(target, GetLastError());
        path_ = name;
    }
    ~ScratchFile() {
        if (!path_.empty()) DeleteFileA(path_.c_str());
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const std::string& Path() const { return path_; }
    void Kept() { path_.clear(); }

private:
    std::string path_;
};

// Replaces the file in one step, so that a failure or a crash part-way leaves
// the earlier file as it was rather than a truncated one.
void WriteWhole(const std::string& fileName, std::string_view bytes) {
    const std::string target = FullPathOf(fileName);
    ScratchFile scratch(target);
    FileHandle file(CreateFileA(scratch.Path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file.Valid()) CannotWrite(target, GetLastError());
    for (size_t done = 0; done < bytes.size();) {
        const auto chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
        DWORD written = 0;
        if (!WriteFile(file.Get(), bytes.data() + done, chunk, &written, nullptr) || written == 0)
            CannotWrite(target, GetLastError());
        done += written;
    }
    if (!FlushFileBuffers(file.Get()) || !file.Close()) CannotWrite(target, GetLastError());
    if (!MoveFileExA(scratch.Path().c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        CannotWrite(target, GetLastError());
    scratch.Kept();
}

// The picture's size fitted into box and centred there; never enlarged. Exact
// integer arithmetic, and the other side is checked too: a picture almost
// square fitted by its width alone would stand out of a box wider than high.
RECT FittedBounds(int64_t pictureWidth, int64_t pictureHeight, const RECT& box) {
    const int64_t boxWidth = box.right - box.left, boxHeight = box.bottom - box.top;
    if (pictureWidth <= 0 || pictureHeight <= 0 || boxWidth <= 0 || boxHeight <= 0)
        return RECT{box.left, box.top, box.left, box.top};
    int64_t w, h;
    if (pictureWidth >= pictureHeight) {
        w = std::min(pictureWidth, boxWidth);
        h = w * pictureHeight / pictureWidth;
        if (h > boxHeight) {
            h = boxHeight;
            w = h * pictureWidth / pictureHeight;
        }
    } else {
        h = std::min(pictureHeight, boxHeight);
        w = h * pictureWidth / pictureHeight;
        if (w > boxWidth) {
            w = boxWidth;
            h = w * pictureHeight / pictureWidth;
        }
    }
    w = std::max<int64_t>(w, 1);
    h = std::max<int64_t>(h, 1);
    const auto left = static_cast<LONG>(box.left + boxWidth / 2 - w / 2);
    const auto top = static_cast<LONG>(box.top + boxHeight / 2 - h / 2);
    return RECT{left, top, left + static_cast<LONG>(w), top + static_cast<LONG>(h)};
}

// The panel's client area inside its bevels and border.
RECT InnerArea(TPanel& panel) {
    RECT r = panel.ClientRect();
    const int inset = panel.BorderWidth + (panel.BevelOuter != TPanelBevel::bvNone ? panel.BevelWidth : 0) +
                      (panel.BevelInner != TPanelBevel::bvNone ? panel.BevelWidth : 0);
    InflateRect(&r, -inset, -inset);
    return r;
}

std::string CellLine(const std::string& pictureFolder, const std::string& thumbFolder, const std::string& name,
                     const std::string& width, const std::string& height) {
    return "<TD><A HREF=\"" + pictureFolder + name + "\"><IMG SRC=\"" + thumbFolder + name + "\" WIDTH=" + width +
           " HEIGHT=" + height + " BORDER=0></A></TD>";
}

void AddLines(TStrings& lines, std::initializer_list<const char*> add) {
    for (const char* line : add) lines.Add(line);
}

}  // namespace

void TThumbnailsForm::RegisterGalleryHandlers() {
    AddHandler("btnLoadClick", TNotifyEvent([this](TObject* s) { btnLoadClick(s); }));
    AddHandler("btnExecuteClick", TNotifyEvent([this](TObject* s) { btnExecuteClick(s); }));
    AddHandler("ButtonThumbnailsClick", TNotifyEvent([this](TObject* s) { ButtonThumbnailsClick(s); }));
    AddHandler("ButtonViewClick", TNotifyEvent([this](TObject* s) { ButtonViewClick(s); }));
    AddHandler("Button88x88Click", TNotifyEvent([this](TObject* s) { Button88x88Click(s); }));
    AddHandler("Button200x200Click", TNotifyEvent([this](TObject* s) { Button200x200Click(s); }));
}

// ---------------------------------------------------------- single picture

void TThumbnailsForm::btnLoadClick(TObject*) {
    if (!OpenPictureDialog1->Execute()) return;
    CurrentFile = OpenPictureDialog1->FileName;
    Image2->Picture()->Assign(nullptr);
    LoadFile();
}

void TThumbnailsForm::LoadFile() {
    TPicture& picture = *Image1->Picture();
    try {
        picture.LoadFromFile(CurrentFile);
    } catch (const EInvalidGraphic&) {
        picture.Assign(nullptr);
        ShowMessage(kNotValidPicture + CurrentFile);
        return;
    } catch (const Exception& e) {
        // The previous picture must not be saved under this file's name.
        picture.Assign(nullptr);
        if (e.Message().find(CurrentFile) != std::string::npos) throw;
        throw Exception(e.Message() + " - " + CurrentFile);
    } catch (...) {
        picture.Assign(nullptr);
        throw;
    }
    FitPreview();
}

void TThumbnailsForm::FitPreview() {
    const RECT r = FittedBounds(Image1->Picture()->Width(), Image1->Picture()->Height(), InnerArea(*Panel1));
    Image1->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TThumbnailsForm::btnExecuteClick(TObject*) {
    // Nothing opened yet: the placeholder has no file name to save under.
    if (Image1->Picture()->Graphic() == nullptr || CurrentFile.empty()) return;
    Thumbnail->SetMaxHeight(SpinEditMaxHeight->Value());
    Thumbnail->SetMaxWidth(SpinEditMaxWidth->Value());
    Thumbnail->SetProportional(CheckBoxProportional->Checked());
    Thumbnail->AssignPicture(Image1->Picture());
    Thumbnail->MakeThumbnail();  // a failure leaves the error image, used like any thumbnail
    Image2->Picture()->Assign(Thumbnail->GetBitmap());

    if (!SetCurrentDirectoryA(OutputDir.c_str())) CreateDirectoryA(OutputDir.c_str(), nullptr);
    const std::string thumbPath = OutputDir + FileNameOf(CurrentFile);
    Repaint();

    TJPEGImage thumbnailJpeg;
    thumbnailJpeg.Assign(Thumbnail->GetBitmap());
    thumbnailJpeg.SetCompressionQuality(SpinEditQuality->Value());
    thumbnailJpeg.Compress();
    ShowThumbnailSize();
    if (CheckBoxGenerateThumbnails->Checked()) {
        TMemoryStream data;
        thumbnailJpeg.SaveToStream(data);
        WriteWhole(thumbPath, std::string_view(reinterpret_cast<const char*>(data.Memory()), data.Size()));
    }
    ListBox2->Items().Add(FileNameOf(thumbPath));
}

void TThumbnailsForm::ShowThumbnailSize() {
    EditImageWidth->SetTextValue(IntToStr(Image2->Picture()->Width()));
    EditImageHeight->SetTextValue(IntToStr(Image2->Picture()->Height()));
}

// ------------------------------------------------------------------- batch

void TThumbnailsForm::RepaintLabelNow() {
    LabelProcessing->Invalidate();
    if (HandleAllocated()) UpdateWindow(Handle());
}

void TThumbnailsForm::ButtonThumbnailsClick(TObject*) {
    // The folder, cursor and label come back however the batch ends.
    struct BatchEnd {
        TThumbnailsForm& form;
        TCursor cursor;
        std::string folder;
        ~BatchEnd() {
            SetCurrentDirectoryA(folder.c_str());
            Screen->SetCursor(cursor);
            form.LabelProcessing->SetCaption("");
            form.RepaintLabelNow();
        }
    } end{*this, Screen->Cursor(), GetCurrentDir()};
    Screen->SetCursor(crHourGlass);

    if (InputDir == OutputDir) {
        OutputDir += "thumbs\\";
        if (!DirectoryExists(OutputDir)) CreateDirectoryA(OutputDir.c_str(), nullptr);
        DirectoryListBoxOutput->SetDirectory(OutputDir);
    }
    TStrings& page = MemoHTML->Lines();
    TStrings& web = MemoHTMLweb->Lines();
    page.Clear();
    web.Clear();
    ListBox2->Items().Clear();
    AddLines(page, {"<HTML>", "<BODY>", "<TABLE BORDER=1>", "<TR>"});
    AddLines(web, {"<!-- Change table border, cellspacing and cellpadding to suit -->",
                   "<TABLE BORDER=0 CELLSPACING=0 CELLPADDING=0>", "<TR>"});
    SetCurrentDirectoryA(InputDir.c_str());

    int cellCount = 0;
    const int count = ListBox1->Items().Count();
    // The next two pictures are decoded on workers while this one is made
    // into a thumbnail; loading still reads every file here, in order.
    for (int i = 0; i < std::min(count, 2); ++i) DecodeAheadJpegFile(InputDir + ListBox1->Items().Get(i));
    for (int i = 0; i < count; ++i) {
        ++cellCount;
        LabelProcessing->SetCaption("Processing " + IntToStr(i + 1) + " of " + IntToStr(count));
        RepaintLabelNow();
        const std::string name = ListBox1->Items().Get(i);
        CurrentFile = InputDir + name;
        LoadFile();
        if (i + 2 < count) DecodeAheadJpegFile(InputDir + ListBox1->Items().Get(i + 2));
        btnExecuteClick(this);
        ShowThumbnailSize();
        const std::string w = EditImageWidth->Text(), h = EditImageHeight->Text();
        page.Add(CellLine(InputDir, OutputDir, name, w, h));
        const std::string site = EditURL->Text();
        web.Add(CellLine(site + EditImageDir->Text(), site + EditThumbDir->Text(), name, w, h));
        if (SpinEditThumbsPerRow->Value() == cellCount) {
            AddLines(page, {"</TR>", "<TR>"});
            AddLines(web, {"</TR>", "<TR>"});
            cellCount = 0;
        }
    }
    AddLines(page, {"</TR>", "</TABLE>"});
    AddLines(web, {"</TR>", "</TABLE>"});
    AddLines(page, {"</BODY>", "</HTML>"});

    // Relative names: they land in the folder current now.
    if (CheckBoxGenerateSamples->Checked()) WriteWhole("samples.html", page.Text());
    if (CheckBoxGenerateHTML->Checked()) WriteWhole("generated.html", web.Text());
}

// -------------------------------------------------------- view and presets

void TThumbnailsForm::ButtonViewClick(TObject*) {
    if (CheckBoxGenerateHTML->Checked()) {
        // OutputDir ends in a backslash already; the doubled one is harmless and kept.
        const std::string command = "NOTEPAD.EXE " + OutputDir + "\\generated.html";
        if (WinExec(command.c_str(), SW_SHOWNORMAL) < 32)
            MessageDlg(kNotepadMissing + command + kNotepadMissingEnd, TMsgDlgType::mtInformation, mbOK);
    }
    if (CheckBoxGenerateSamples->Checked()) {
        const std::string samples = DirectoryListBoxOutput->Directory() + "\\samples.html";
        if (FileExists(samples))
            OpenURL(samples);
        else
            MessageDlg(kNoSamples, TMsgDlgType::mtInformation, mbOK);
    }
}

void TThumbnailsForm::Button88x88Click(TObject*) {
    SpinEditMaxWidth->SetValue(88);
    SpinEditMaxHeight->SetValue(88);
    CheckBoxProportional->SetChecked(false);
}

void TThumbnailsForm::Button200x200Click(TObject*) {
    SpinEditMaxWidth->SetValue(200);
    SpinEditMaxHeight->SetValue(200);
    CheckBoxProportional->SetChecked(true);
}

}  // namespace pellix
