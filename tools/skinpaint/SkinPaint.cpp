// skinpaint DIR [PREVIEWDIR]: paints the program's own skins into DIR as
// Blue.skn, Silver.skn, Green.skn and Builtin.skn, and with PREVIEWDIR a
// preview picture of each (NAME-preview.bmp).
//
// The archives are committed in forms/data, because the Windows build cannot
// run this tool; a native test checks that they match what it paints. After
// changing the painter, regenerate them from the worktree's top folder:
//
//   cmake --build build/native --target skinpaint
//   build/native/skinpaint forms/data build/native/skin-previews
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "framework/Streams.h"
#include "skin/SkinRead.h"
#include "tools/skinpaint/SkinPreview.h"
#include "tools/skinpaint/ThemeSkins.h"

namespace {

using namespace pellix;
using namespace pellix::skinpaint;

void Save(const std::vector<uint8_t>& bytes, const std::filesystem::path& path) {
    TMemoryStream out;
    out.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    out.SaveToFile(path.string());
}

void CheckOpens(const std::vector<uint8_t>& packed, const std::string& name) {
    TMemoryStream archive;
    archive.WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
    TSkinReader reader;
    if (!reader.OpenSkinArchive(archive)) throw std::runtime_error(name + " does not open");
}

int Run(const std::vector<std::string>& args) {
    if (args.empty() || args.size() > 2) {
        std::cerr << "usage: skinpaint DIR [PREVIEWDIR]\n";
        return 2;
    }
    const std::filesystem::path dir = args[0];
    std::filesystem::create_directories(dir);
    if (args.size() == 2) std::filesystem::create_directories(args[1]);
    for (const TSkinTheme& theme : BuiltinThemes()) {
        const TSkinBuilder skin = PaintThemeSkin(theme);
        const std::vector<uint8_t> packed = skin.Pack(ThemeSettingsName(theme));
        CheckOpens(packed, theme.Name);
        Save(packed, dir / (theme.Name + ".skn"));
        std::cout << (dir / (theme.Name + ".skn")).string() << ": " << skin.Images().size() << " images, "
                  << packed.size() << " bytes\n";
        if (args.size() == 2)
            Save(PreviewSheet(theme, skin).BmpFile(), std::filesystem::path(args[1]) / (theme.Name + "-preview.bmp"));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::cerr << "skinpaint: " << e.what() << '\n';
        return 1;
    }
}
