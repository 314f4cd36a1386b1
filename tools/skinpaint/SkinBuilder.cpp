#include "tools/skinpaint/SkinBuilder.h"

#include <algorithm>

namespace pellix::skinpaint {

std::string ColourText(TRgb c) { return std::to_string(c.R) + " " + std::to_string(c.G) + " " + std::to_string(c.B); }

TSkinBuilder::TSection& TSkinBuilder::SectionNamed(const std::string& name) {
    auto found = std::find_if(sections_.begin(), sections_.end(), [&](const TSection& s) { return s.Name == name; });
    if (found != sections_.end()) return *found;
    sections_.push_back({name, {}});
    return sections_.back();
}

void TSkinBuilder::Set(const std::string& section, const std::string& key, const std::string& value) {
    auto& keys = SectionNamed(section).Keys;
    auto found = std::find_if(keys.begin(), keys.end(), [&](const auto& k) { return k.first == key; });
    if (found != keys.end())
        found->second = value;
    else
        keys.emplace_back(key, value);
}

void TSkinBuilder::Set(const std::string& section, const std::string& key, int value) {
    Set(section, key, std::to_string(value));
}

void TSkinBuilder::SetImage(const std::string& section, const std::string& key, const std::string& entryName,
                            const TRaster& picture) {
    Set(section, key, entryName);
    AddEntry(entryName, picture.BmpFile());
    auto found = std::find_if(images_.begin(), images_.end(), [&](const TImage& i) { return i.Name == entryName; });
    if (found != images_.end())
        found->Picture = picture;
    else
        images_.push_back({entryName, picture});
}

void TSkinBuilder::AddEntry(const std::string& name, std::vector<uint8_t> bytes) {
    auto found =
        std::find_if(entries_.begin(), entries_.end(), [&](const TSkinArchiveEntry& e) { return e.Name == name; });
    if (found != entries_.end())
        found->Data = std::move(bytes);
    else
        entries_.push_back({name, std::move(bytes)});
}

std::string TSkinBuilder::SettingsText() const {
    std::string text;
    for (const TSection& section : sections_) {
        if (!text.empty()) text += "\r\n";
        text += "[" + section.Name + "]\r\n";
        for (const auto& [key, value] : section.Keys) text += key + "=" + value + "\r\n";
    }
    return text;
}

std::vector<TSkinArchiveEntry> TSkinBuilder::Entries(const std::string& settingsName) const {
    std::vector<TSkinArchiveEntry> entries = entries_;
    const std::string text = SettingsText();
    entries.push_back({settingsName, std::vector<uint8_t>(text.begin(), text.end())});
    return entries;
}

std::vector<uint8_t> TSkinBuilder::Pack(const std::string& settingsName) const {
    return PackSkinArchive(Entries(settingsName));
}

}  // namespace pellix::skinpaint
