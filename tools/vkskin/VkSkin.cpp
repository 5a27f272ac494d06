#include "VkSkin.h"

#include "Check.h"
#include "SkinArchive.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinSkinIni.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

constexpr char kUsage[] =
    "usage: vkskin pack <folder> <file.skn> [--format 70000]\n"
    "       vkskin unpack <file.skn> <folder>\n"
    "       vkskin info <file.skn>\n"
    "       vkskin check <file.skn>\n";

// A failure the user is told about in one line.
class EVkSkin : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

fs::path PathOf(const std::string& utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string TextOf(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::vector<std::uint8_t> ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw EVkSkin("cannot open " + TextOf(path));
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (in.bad())
        throw EVkSkin("cannot read " + TextOf(path));
    return bytes;
}

void WriteFile(const fs::path& path, std::span<const std::uint8_t> bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw EVkSkin("cannot write " + TextOf(path));
}

// Removes a scratch file or folder unless the work reached its end.
class TScratch {
public:
    explicit TScratch(fs::path path) : FPath(std::move(path)) {}
    TScratch(const TScratch&) = delete;
    TScratch& operator=(const TScratch&) = delete;
    ~TScratch()
    {
        if (!FKept) {
            std::error_code ignored;
            fs::remove_all(FPath, ignored);
        }
    }
    const fs::path& Path() const { return FPath; }
    void Keep() { FKept = true; }

private:
    fs::path FPath;
    bool FKept = false;
};

// Reader errors as one line: the old-skin message carries a line break.
std::string OneLine(std::string text)
{
    std::replace(text.begin(), text.end(), '\r', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

TSkinReader OpenSkin(const fs::path& file)
{
    const std::vector<std::uint8_t> bytes = ReadFile(file);
    TSkinReader reader;
    if (!reader.UnpackSkin(bytes))
        throw EVkSkin(TextOf(file) + ": " + OneLine(reader.ErrorText()));
    return reader;
}

std::uint32_t ParseFormat(const std::string& text)
{
    const auto value = ParseSkinInteger(text);
    if (!value || SkinVersionBlockSize(static_cast<std::uint32_t>(*value)) < 0)
        throw EVkSkin("unknown format " + text +
                      " (known: 20000, 30000, 40000, 50000, 60000, 70000)");
    return static_cast<std::uint32_t>(*value);
}

std::vector<TSkinArchiveEntry> ReadFolder(const fs::path& folder)
{
    if (!fs::is_directory(folder))
        throw EVkSkin(TextOf(folder) + " is not a folder");
    std::vector<TSkinArchiveEntry> entries;
    for (const fs::directory_entry& item : fs::directory_iterator(folder)) {
        if (!item.is_regular_file())
            throw EVkSkin(TextOf(item.path()) + " is not a file; a skin archive holds files only");
        entries.push_back({TextOf(item.path().filename()), ReadFile(item.path())});
    }
    std::sort(entries.begin(), entries.end(),
              [](const TSkinArchiveEntry& a, const TSkinArchiveEntry& b) { return a.name < b.name; });
    return entries;
}

// Writes the whole file next to its place first, so a failure leaves no half
// skin file behind.
void ReplaceFile(const fs::path& path, std::span<const std::uint8_t> bytes)
{
    TScratch scratch(fs::path(path).concat(".vkskin-tmp"));
    WriteFile(scratch.Path(), bytes);
    fs::rename(scratch.Path(), path);
    scratch.Keep();
}

int Pack(const std::vector<std::string>& args, std::ostream& out)
{
    const fs::path folder = PathOf(args[1]);
    const fs::path file = PathOf(args[2]);
    std::uint32_t format = 70000;
    if (args.size() == 5)
        format = ParseFormat(args[4]);
    const fs::path fileFolder = fs::absolute(file).parent_path();
    if (fs::exists(fileFolder) && fs::exists(folder) && fs::equivalent(fileFolder, folder))
        throw EVkSkin("the skin file must not be written into the folder being packed");

    const std::vector<TSkinArchiveEntry> entries = ReadFolder(folder);
    std::vector<std::uint8_t> archive;
    try {
        archive = BuildSkinArchive(format, entries);
    } catch (const std::invalid_argument& error) {
        throw EVkSkin(error.what());
    }
    const std::vector<std::uint8_t> skin = PackSkinFile(archive);
    ReplaceFile(file, skin);
    out << TextOf(file) << ": " << entries.size() << " entries, " << archive.size() << " bytes packed to "
        << skin.size() << "\n";
    return 0;
}

// Entry names become file names: nothing that could leave the folder or
// clash with another entry is written.
void CheckEntryNames(const TSkinReader& reader)
{
    std::set<std::string> seen;
    for (int i = 0; i < reader.Count(); ++i) {
        const std::string& name = reader.Names()[static_cast<std::size_t>(i)];
        const bool bad = name.empty() || name == "." || name == ".." ||
                         std::any_of(name.begin(), name.end(), [](char c) {
                             return static_cast<unsigned char>(c) < 0x20 || c == '/' || c == '\\' ||
                                    c == ':';
                         });
        if (bad)
            throw EVkSkin("entry " + std::to_string(i + 1) + " has a name that cannot be a file name");
        if (!seen.insert(name).second)
            throw EVkSkin("entry name " + name + " occurs twice");
        if (!reader.Entry(i))
            throw EVkSkin("entry " + name + " has a size that does not fit the archive");
    }
}

void CheckEmptyTarget(const fs::path& folder)
{
    if (fs::exists(folder) && (!fs::is_directory(folder) || !fs::is_empty(folder)))
        throw EVkSkin(TextOf(folder) + " exists and is not an empty folder");
}

int Unpack(const std::vector<std::string>& args, std::ostream& out)
{
    const fs::path file = PathOf(args[1]);
    const fs::path folder = PathOf(args[2]);
    const TSkinReader reader = OpenSkin(file);
    CheckEntryNames(reader);
    CheckEmptyTarget(folder);

    TScratch scratch(fs::path(folder).concat(".vkskin-tmp"));
    fs::remove_all(scratch.Path());
    fs::create_directories(scratch.Path());
    for (int i = 0; i < reader.Count(); ++i)
        WriteFile(scratch.Path() / PathOf(reader.Names()[static_cast<std::size_t>(i)]), *reader.Entry(i));
    if (fs::exists(folder))
        fs::remove(folder);
    fs::rename(scratch.Path(), folder);
    scratch.Keep();
    out << TextOf(folder) << ": " << reader.Count() << " entries\n";
    return 0;
}

int Info(const std::vector<std::string>& args, std::ostream& out)
{
    const TSkinReader reader = OpenSkin(PathOf(args[1]));
    out << "format " << reader.Version() << "\n"
        << "unpacked size " << reader.UnpackedSize() << "\n"
        << "entries " << reader.Count() << "\n";
    for (int i = 0; i < reader.Count(); ++i) {
        const std::size_t at = static_cast<std::size_t>(i);
        out << "  " << reader.Sizes()[at] << (reader.Entry(i) ? "" : " (does not fit)") << "  "
            << reader.Names()[at] << "\n";
    }
    std::vector<std::uint8_t> text;
    std::string iniName;
    if (!reader.FindEntryContaining(".ini", text, iniName)) {
        out << "no skin description\n";
        return 0;
    }
    TQuickIni ini;
    ini.LoadFromStream(text);
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    out << "sections of " << iniName << ":";
    for (const std::string& section : sections)
        out << " [" << section << "]";
    out << "\n";
    return 0;
}

bool ValidUsage(const std::vector<std::string>& args)
{
    if (args.empty())
        return false;
    const std::string& command = args[0];
    if (command == "pack")
        return args.size() == 3 || (args.size() == 5 && args[3] == "--format");
    if (command == "unpack")
        return args.size() == 3;
    return (command == "info" || command == "check") && args.size() == 2;
}

int Dispatch(const std::vector<std::string>& args, std::ostream& out)
{
    if (args[0] == "pack")
        return Pack(args, out);
    if (args[0] == "unpack")
        return Unpack(args, out);
    if (args[0] == "check")
        return CheckCommand(ReadFile(PathOf(args[1])), args[1], out);
    return Info(args, out);
}

} // namespace

int RunVkSkin(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (!ValidUsage(args)) {
        err << kUsage;
        return 2;
    }
    try {
        return Dispatch(args, out);
    } catch (const EVkSkin& error) {
        err << "vkskin: " << error.what() << "\n";
    } catch (const fs::filesystem_error& error) {
        err << "vkskin: " << OneLine(error.what()) << "\n";
    } catch (const std::exception& error) {
        err << "vkskin: " << OneLine(error.what()) << "\n";
    }
    return 1;
}
