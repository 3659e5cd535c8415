#include "support/Files.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "Base/App/Log.h"

namespace testsupport {

std::vector<unsigned char> readFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& name, const std::vector<unsigned char>& bytes)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string readText(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeText(const std::string& name, const std::string& text)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << text;
}

void makeDataFolder(const std::string& dir, bool withLog)
{
    namespace fs = std::filesystem;
    fs::remove_all(dir);
    fs::create_directory(dir);
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::current_path())) {
        const fs::path name = entry.path().filename();
        if (name == "ktlog.txt" ? withLog : entry.is_symlink()) fs::create_symlink(fs::absolute(entry.path()), dir / name);
    }
}

std::vector<std::string> logMessages()
{
    g_log.flush();
    std::vector<std::string> messages;
    std::ifstream in("ktlog.txt");
    std::string line;
    while (std::getline(in, line)) {
        // "path : line : message"
        const size_t first = line.find(" : ");
        const size_t second = first == std::string::npos ? first : line.find(" : ", first + 3);
        messages.push_back(second == std::string::npos ? line : line.substr(second + 3));
    }
    return messages;
}

bool logContains(const std::string& text)
{
    for (const std::string& m : logMessages())
        if (m.find(text) != std::string::npos) return true;
    return false;
}

}  // namespace testsupport
