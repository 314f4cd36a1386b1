// A skin being written: its settings text, kept section by section in the
// order things were first named, and the entries (bitmaps and anything else)
// the archive holds beside it. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/skinpack/SkinArchiveWriter.h"
#include "tools/skinpaint/Raster.h"

namespace pellix::skinpaint {

// "R G B", as the colour keys are read.
std::string ColourText(TRgb c);

class TSkinBuilder {
public:
    // Sets or replaces a value; sections and keys keep the place they were first given.
    void Set(const std::string& section, const std::string& key, const std::string& value);
    void Set(const std::string& section, const std::string& key, int value);
    void Set(const std::string& section, const std::string& key, TRgb colour) { Set(section, key, ColourText(colour)); }
    // Stores the picture as a 24-bit bitmap entry and names it under the key.
    void SetImage(const std::string& section, const std::string& key, const std::string& entryName,
                  const TRaster& picture);
    // An entry of any bytes; a later entry of the same name replaces it.
    void AddEntry(const std::string& name, std::vector<uint8_t> bytes);

    // Lines end with CR LF.
    std::string SettingsText() const;
    // The entries followed by the settings text under settingsName.
    std::vector<TSkinArchiveEntry> Entries(const std::string& settingsName = "skin.ini") const;
    // The ".skn" bytes.
    std::vector<uint8_t> Pack(const std::string& settingsName = "skin.ini") const;

    struct TImage {
        std::string Name;
        TRaster Picture;
    };
    // The pictures in the order they were stored.
    const std::vector<TImage>& Images() const { return images_; }

private:
    struct TSection {
        std::string Name;
        std::vector<std::pair<std::string, std::string>> Keys;
    };
    TSection& SectionNamed(const std::string& name);

    std::vector<TSection> sections_;
    std::vector<TSkinArchiveEntry> entries_;
    std::vector<TImage> images_;
};

}  // namespace pellix::skinpaint
