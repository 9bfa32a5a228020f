#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>

// A private folder for one test program, removed again when the program ends.
class TempTree
{
public:
    TempTree()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "qimlar-test-XXXXXX");
        if (!mkdtemp(pattern.data()))
            std::abort();
        root_ = pattern;
    }
    ~TempTree() { std::filesystem::remove_all(root_); }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path operator/(const std::string& relative) const { return root_ / relative; }

    // Writes `text` to `relative`, making its folders; an executable gets mode 0755.
    std::filesystem::path write(const std::string& relative, const std::string& text,
                                bool executable = false) const
    {
        const auto path = root_ / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
        if (executable)
            std::filesystem::permissions(path, std::filesystem::perms(0755));
        return path;
    }

    static std::string read(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    static std::set<std::string> names(const std::filesystem::path& folder)
    {
        std::set<std::string> result;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            result.insert(entry.path().filename().string());
        return result;
    }

    // Every entry below `folder` with what it holds: a file its bytes, a link its target.
    static std::map<std::string, std::string> snapshot(const std::filesystem::path& folder)
    {
        std::map<std::string, std::string> result;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            const auto& path = entry.path();
            if (entry.is_symlink())
                result[path] = "link to " + std::filesystem::read_symlink(path).string();
            else if (entry.is_regular_file())
                result[path] = "file " + read(path);
            else
                result[path] = "folder";
        }
        return result;
    }

private:
    std::filesystem::path root_;
};
