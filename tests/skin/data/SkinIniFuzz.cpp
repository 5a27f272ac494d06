// Fuzzes the skin description reader: any text, every key of every section
// read in every value form, and each section's margins planned for drawing
// on an image of the size its Width and Height keys give.
#include "FuzzPlans.h"
#include "skin/data/WinSkinIni.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TQuickIni ini;
    ini.LoadFromStream(std::span<const std::uint8_t>(data, size));
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    if (sections.size() != ini.SectionLines().size())
        std::abort();
    for (int i = 0; i < ini.LineCount(); ++i) {
        const std::string line(ini.Line(i));
        const std::string key = line.substr(0, line.find('='));
        for (const std::string& section : sections) {
            const std::string value = ini.ReadString(section, key, "");
            ini.ReadInteger(section, key, -1);
            ParseSkinColour(value, 0xFFFFFF);
            SkinImageName(value);
            ReadRGBKeys(ini, section, key);
        }
        ParseSkinInteger(line);
    }
    for (const std::string& section : sections)
        PlanSectionDrawing(ini, section, ini.ReadInteger(section, "Width", 40), ini.ReadInteger(section, "Height", 20));
    return 0;
}
