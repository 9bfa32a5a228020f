// The lookup with the real backend, fed any bytes as the extension, in a freedesktop
// environment and temporary folder of its own. After every input the temporary folder holds
// nothing of ours, and every file of somebody else's, in it or beside it, is as it was; one of
// them is planted at the very name the probe would take.

#include "Freedesktop.h"
#include "NativePlatform.h"
#include "ProbeName.h"
#include "TempTree.h"
#include "lookup/FindExe.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

struct Setting
{
    TempTree tree;
    Freedesktop desktop{tree};
    std::map<std::string, std::string> untouched;

    Setting()
    {
        tree.write("outside.txt", "somebody's notes");
        tree.write("tmp/keep.txt", "somebody's draft");
        // The shapes a probe takes, already taken.
        tree.write("tmp/~aaaaaaaaaaaaaaaa.mp3", "somebody's song");
        tree.write("tmp/~aaaaaaaaaaaaaaaa.tmp", "somebody's scratch");
        std::filesystem::create_symlink(tree / "outside.txt", tree / "tmp/~bbbbbbbbbbbbbbbb.mp3");
        untouched = TempTree::snapshot(tree.root());
    }
};

Setting* setting = nullptr;

// The real backend; on some inputs a file of somebody else's appears at the probe's name
// between its creation and its rename, as another program might put one there.
class PlantingPlatform : public qimlar::NativePlatform
{
public:
    PlantingPlatform(const std::string& extension, bool plant)
        : extension_(extension), plant_(plant)
    {}

    std::optional<std::string> planted;

    qimlar::Outcome<std::string> createUniqueFile(const std::string& folder,
                                                  const std::string& prefix) override
    {
        auto created = NativePlatform::createUniqueFile(folder, prefix);
        const std::string name = created ? qimlar::probeName(*created, extension_) : "";
        // A name with a NUL would be planted under a shorter one: leave it.
        if (created && plant_ && name.find('\0') == std::string::npos) {
            const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
            if (fd >= 0) {
                const bool written = ::write(fd, "theirs", 6) == 6;
                ::close(fd);
                if (written)
                    planted = name;
            }
        }
        return created;
    }

private:
    std::string extension_;
    bool plant_;
};

[[noreturn]] void fail(const char* what, const std::string& extension)
{
    std::fprintf(stderr, "%s after the extension of %zu bytes\n", what, extension.size());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setting = new Setting;
    // The tree goes when the fuzzer ends normally; after a failure it stays, to be looked at.
    std::atexit([] { delete setting; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string extension(reinterpret_cast<const char*>(data), size);
    PlantingPlatform platform(extension, size % 4 == 3);
    // With its name taken, the probe asks under another stem: any answer will do.
    qimlar::FindExe(extension, platform);

    auto now = TempTree::snapshot(setting->tree.root());
    if (platform.planted) {
        if (now[*platform.planted] != "file theirs")
            fail("the file planted at the probe's name changed", extension);
        now.erase(*platform.planted);
        ::unlink(platform.planted->c_str());
    }
    if (now != setting->untouched)
        fail("the temporary folder or a file beside it changed", extension);
    return 0;
}
