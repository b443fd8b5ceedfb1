// talvik_embed: turns the library's picture files into a C++ source of byte arrays.
//
//     talvik_embed <resources-dir> <output.cpp>
//
// Embeds every resources/bitmaps/*.bmp under its file name without the extension (the
// resource's stored name: "101", "SB_TOP_1", "30000") and every
// resources/templates/<Control>/<Element>.bmp as "<Control>/<Element>", an element name
// ending in "_<n>" being written back as "(<n>)" ("Matrix/Picture1_0.bmp" becomes
// "Matrix/Picture1(0)"). A file NAME@2x.bmp beside NAME.bmp is the same picture at twice
// its size and is embedded with it. resources/manifest.txt is embedded as text.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Entry {
    std::string id;
    fs::path file;
    fs::path large;  // empty when there is no NAME@2x.bmp
};

constexpr std::string_view kLargeSuffix = "@2x";

bool isLarge(const fs::path& p) { return p.stem().string().ends_with(kLargeSuffix); }

fs::path largeFile(const fs::path& p) {
    fs::path large = p;
    large.replace_filename(p.stem().string() + std::string(kLargeSuffix) + p.extension().string());
    return fs::exists(large) ? large : fs::path();
}

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + p.string());
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool isBmp(const fs::path& p) {
    std::string ext = p.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".bmp";
}

// "Picture1_0" -> "Picture1(0)"; names without a trailing "_<digits>" are kept.
std::string elementName(std::string stem) {
    const auto us = stem.rfind('_');
    if (us == std::string::npos || us + 1 == stem.size()) return stem;
    for (std::size_t i = us + 1; i < stem.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(stem[i]))) return stem;
    return stem.substr(0, us) + "(" + stem.substr(us + 1) + ")";
}

std::vector<Entry> bitmaps(const fs::path& root) {
    std::vector<Entry> out;
    const fs::path dir = root / "bitmaps";
    if (fs::is_directory(dir))
        for (const auto& e : fs::directory_iterator(dir))
            if (e.is_regular_file() && isBmp(e.path()) && !isLarge(e.path()))
                out.push_back({e.path().stem().string(), e.path(), largeFile(e.path())});
    std::sort(out.begin(), out.end(), [](const Entry& a, const Entry& b) { return a.id < b.id; });
    return out;
}

std::vector<Entry> templates(const fs::path& root) {
    std::vector<Entry> out;
    const fs::path dir = root / "templates";
    if (fs::is_directory(dir))
        for (const auto& control : fs::directory_iterator(dir)) {
            if (!control.is_directory()) continue;
            for (const auto& e : fs::directory_iterator(control.path()))
                if (e.is_regular_file() && isBmp(e.path()) && !isLarge(e.path()))
                    out.push_back({control.path().filename().string() + "/" + elementName(e.path().stem().string()),
                                   e.path(), largeFile(e.path())});
        }
    std::sort(out.begin(), out.end(), [](const Entry& a, const Entry& b) { return a.id < b.id; });
    return out;
}

void writeBytes(std::ostringstream& os, const std::string& name, const std::string& bytes) {
    os << "alignas(4) const unsigned char " << name << "[] = {";
    static const char* hex = "0123456789abcdef";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % 20 == 0) os << "\n";
        const auto b = static_cast<unsigned char>(bytes[i]);
        os << "0x" << hex[b >> 4] << hex[b & 15] << ',';
    }
    if (bytes.empty()) os << "0";
    os << "\n};\n";
}

std::string quoted(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

void writeTable(std::ostringstream& os, const char* table, const char* prefix, const std::vector<Entry>& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        writeBytes(os, prefix + std::to_string(i), readFile(entries[i].file));
        if (!entries[i].large.empty()) writeBytes(os, prefix + std::to_string(i) + "x2", readFile(entries[i].large));
    }
    os << "}  // namespace\n\n";
    os << "extern const Blob " << table << "[] = {\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string name = prefix + std::to_string(i);
        os << "    {" << quoted(entries[i].id) << ", " << name << ", sizeof " << name;
        if (!entries[i].large.empty()) os << ", " << name << "x2, sizeof " << name << "x2";
        os << "},\n";
    }
    if (entries.empty()) os << "    {{}, nullptr, 0},\n";
    os << "};\n";
    os << "extern const std::size_t " << table << "Count = " << entries.size() << ";\n\nnamespace {\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: talvik_embed <resources-dir> <output.cpp>\n";
        return 2;
    }
    try {
        const fs::path root = argv[1];
        const fs::path output = argv[2];
        const auto bmps = bitmaps(root);
        const auto tpls = templates(root);
        const std::string manifest = fs::exists(root / "manifest.txt") ? readFile(root / "manifest.txt") : "";

        std::ostringstream os;
        os << "// Generated by talvik_embed from the pictures under resources/. Do not edit.\n"
           << "#include <cstddef>\n\n#include \"resources/ResourceTable.h\"\n\n"
           << "namespace talvik::resources::detail {\nnamespace {\n\n";
        writeTable(os, "kBitmaps", "bmp", bmps);
        writeTable(os, "kTemplates", "tpl", tpls);
        writeBytes(os, "manifestText", manifest);
        os << "}  // namespace\n\n"
           << "extern const unsigned char* const kManifest = manifestText;\n"
           << "extern const std::size_t kManifestSize = " << manifest.size() << ";\n\n"
           << "}  // namespace talvik::resources::detail\n";

        const std::string text = os.str();
        if (output.has_parent_path()) fs::create_directories(output.parent_path());
        std::ofstream out(output, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out) throw std::runtime_error("cannot write " + output.string());
    } catch (const std::exception& e) {
        std::cerr << "talvik_embed: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
