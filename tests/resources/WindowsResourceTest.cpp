// qimlar.exe's resources as windres compiles them from resources/qimlar.rc: the .res file parsed
// and checked field by field, every byte of it accounted for.

#include "VersionStrings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error(std::string("cannot read ") + path);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Little-endian reads within [at, end) of `bytes`, which fail rather than run past the end.
// Alignment counts from the start of `bytes`.
class Reader
{
public:
    Reader(const Bytes& bytes, std::size_t at, std::size_t end) : bytes(bytes), at(at), end(end)
    {
        if (end > bytes.size() || at > end)
            fail("a length runs past its container");
    }

    [[noreturn]] void fail(const std::string& what) const
    {
        throw std::runtime_error(what + " (at byte " + std::to_string(at) + ")");
    }
    Bytes take(std::size_t count)
    {
        if (count > end - at)
            fail("a field runs past the end");
        at += count;
        return Bytes(bytes.begin() + at - count, bytes.begin() + at);
    }
    std::uint16_t u16()
    {
        const Bytes b = take(2);
        return static_cast<std::uint16_t>(b[0] | b[1] << 8);
    }
    std::uint32_t u32() { return u16() | std::uint32_t{u16()} << 16; }
    std::u16string text()
    {
        std::u16string result;
        for (char16_t c = u16(); c != 0; c = u16())
            result += c;
        return result;
    }
    // Skips the padding up to the next DWORD boundary, which must be zeros.
    void align()
    {
        for (const std::uint8_t b : take((4 - at % 4) % 4))
            if (b != 0)
                fail("padding is not zero");
    }

    const Bytes& bytes;
    std::size_t at, end;
};

std::u16string utf16(const Bytes& bytes)
{
    std::u16string result;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        result += char16_t(bytes[i] | bytes[i + 1] << 8);
    return result;
}

struct Resource
{
    std::uint16_t type = 0, name = 0, language = 0;
    Bytes data;
};

// A type or name: 0xFFFF then a number. A name in letters counts as a fault here.
std::uint16_t numericId(Reader& in)
{
    if (in.u16() != 0xFFFF)
        in.fail("a resource type or name is not a number");
    return in.u16();
}

// Every resource in a 32-bit .res file, after the empty resource that marks the format.
std::vector<Resource> parseRes(const Bytes& file)
{
    Reader in(file, 0, file.size());
    const Bytes marker{0, 0, 0, 0, 32, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};
    if (in.take(16) != marker || in.take(16) != Bytes(16, 0))
        in.fail("no 32-bit .res marker");
    std::vector<Resource> resources;
    while (in.at < in.end) {
        const std::size_t start = in.at;
        const std::uint32_t dataSize = in.u32(), headerSize = in.u32();
        Resource r;
        r.type = numericId(in);
        r.name = numericId(in);
        in.align();
        const std::uint32_t dataVersion = in.u32();
        in.u16(); // memory flags: Windows ignores them
        r.language = in.u16();
        const std::uint32_t version = in.u32(), characteristics = in.u32();
        if (in.at - start != headerSize || dataVersion != 0 || version != 0 || characteristics != 0)
            in.fail("resource header size or fields wrong");
        r.data = in.take(dataSize);
        in.align();
        resources.push_back(std::move(r));
    }
    return resources;
}

// One node of the version record: wLength, wValueLength, wType, szKey, padding, the value,
// padding, the children. wLength must cover exactly the node and its children.
struct Node
{
    std::size_t length = 0;
    std::uint16_t type = 0;
    std::u16string key;
    Bytes value;
    std::vector<Node> children;
};

Node parseNode(const Bytes& data, std::size_t at, std::size_t end)
{
    Reader head(data, at, end);
    if (at % 4 != 0)
        head.fail("a version node is not DWORD-aligned");
    Node node;
    node.length = head.u16();
    const std::uint16_t valueLength = head.u16();
    node.type = head.u16();
    if (node.length < 6 || node.length > end - at)
        head.fail("a version node's wLength runs past its parent");
    if (node.type > 1)
        head.fail("a version node is neither text nor binary");
    Reader in(data, head.at, at + node.length);
    node.key = in.text();
    in.align();
    node.value = in.take(node.type == 1 ? 2 * valueLength : valueLength);
    while (in.at < in.end) {
        in.align();
        if (in.at == in.end)
            break;
        node.children.push_back(parseNode(data, in.at, in.end));
        in.at += node.children.back().length;
    }
    return node;
}

struct Compiled
{
    std::vector<Resource> resources;
    const Resource& find(std::uint16_t type, std::uint16_t name) const
    {
        for (const Resource& r : resources)
            if (r.type == type && r.name == name)
                return r;
        throw std::runtime_error("resource " + std::to_string(type) + "/" + std::to_string(name) +
                                 " is missing");
    }
};

const Compiled& compiled()
{
    static const Compiled c{parseRes(readFile(QIMLAR_RES))};
    return c;
}

constexpr std::uint16_t rtIcon = 3, rtGroupIcon = 14, rtVersion = 16;

} // namespace

TEST(WindowsResources, AreTheIconImageItsGroupAndTheVersionRecordAndNothingElse)
{
    std::vector<std::array<std::uint16_t, 3>> found;
    for (const Resource& r : compiled().resources)
        found.push_back({r.type, r.name, r.language});
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found,
              (decltype(found){{rtIcon, 30001, 0}, {rtGroupIcon, 1, 0}, {rtVersion, 1, 0x0409}}));
}

TEST(WindowsResources, IconGroupHasOneEntryNamingTheImageCopiedFromTheIconFile)
{
    const Bytes& entries = compiled().find(rtGroupIcon, 1).data;
    Reader group(entries, 0, entries.size());
    EXPECT_EQ(group.take(6), (Bytes{0, 0, 1, 0, 1, 0})); // reserved, icons, one entry
    EXPECT_EQ(group.take(4), (Bytes{32, 32, 0, 0}));     // size, colour count, reserved
    EXPECT_EQ(group.u16(), 1);                           // planes
    EXPECT_EQ(group.u16(), 8);                           // bits per pixel
    EXPECT_EQ(group.u32(), 2216u);                       // bytes of the image
    EXPECT_EQ(group.u16(), 30001);                       // the image's ID
    EXPECT_EQ(group.at, group.end);

    // The icon file's one directory entry says where its image lies; the resource holds exactly it.
    const Bytes ico = readFile(QIMLAR_ICO);
    Reader file(ico, 0, ico.size());
    EXPECT_EQ(file.take(6), (Bytes{0, 0, 1, 0, 1, 0}));
    file.take(8); // size, colours, planes and bit count: the image's own header has them
    ASSERT_EQ(file.u32(), 2216u);
    ASSERT_EQ(file.u32(), 22u);
    ASSERT_EQ(ico.size(), 22u + 2216u);
    const Bytes& image = compiled().find(rtIcon, 30001).data;
    EXPECT_EQ(image, Bytes(ico.begin() + 22, ico.end()));

    // And the image is what the entry says: a 32 x 32 (colour rows and mask rows: 64) 8-bit DIB.
    Reader header(image, 0, image.size());
    EXPECT_EQ(header.u32(), 40u);
    EXPECT_EQ(header.u32(), 32u);
    EXPECT_EQ(header.u32(), 64u);
    EXPECT_EQ(header.u16(), 1);
    EXPECT_EQ(header.u16(), 8);
}

TEST(WindowsResources, VersionRecordHoldsTheFixedPartTheStringsInOrderAndOneTranslation)
{
    const Bytes& data = compiled().find(rtVersion, 1).data;
    const Node root = parseNode(data, 0, data.size());
    EXPECT_EQ(root.length, data.size());
    EXPECT_EQ(root.key, u"VS_VERSION_INFO");
    EXPECT_EQ(root.type, 0);

    // The fixed part: signature, structure version, file and product versions 1.0.0.0, flags
    // mask, flags, 32-bit Windows, an application, no subtype, no date.
    ASSERT_EQ(root.value.size(), 13 * 4u);
    std::array<std::uint32_t, 13> fixed{};
    Reader in(root.value, 0, root.value.size());
    for (std::uint32_t& field : fixed)
        field = in.u32();
    EXPECT_EQ(fixed, (std::array<std::uint32_t, 13>{0xFEEF04BD, 0x00010000, 0x00010000, 0,
                                                    0x00010000, 0, 0x3F, 0, 4, 1, 0, 0, 0}));

    ASSERT_EQ(root.children.size(), 2u);
    const Node& strings = root.children[0];
    const Node& variables = root.children[1];
    EXPECT_EQ(strings.key, u"StringFileInfo");
    EXPECT_EQ(variables.key, u"VarFileInfo");
    for (const Node* block : {&strings, &variables}) {
        EXPECT_EQ(block->type, 1);
        EXPECT_TRUE(block->value.empty());
    }
    ASSERT_EQ(strings.children.size(), 1u);
    const Node& table = strings.children[0];
    EXPECT_EQ(table.key, u"040904B0");
    EXPECT_EQ(table.type, 1);
    EXPECT_TRUE(table.value.empty());

    // Each value is its text and one terminating NUL; the count in wValueLength includes it.
    auto expected = version_record::versionStrings;
    std::vector<std::pair<std::u16string, std::u16string>> found;
    for (const Node& string : table.children) {
        EXPECT_EQ(string.type, 1) << "string " << found.size();
        EXPECT_TRUE(string.children.empty());
        found.emplace_back(string.key, utf16(string.value));
    }
    for (auto& [key, value] : expected)
        value += u'\0';
    EXPECT_EQ(found, expected);

    // One translation: US English, UTF-16.
    ASSERT_EQ(variables.children.size(), 1u);
    const Node& translation = variables.children[0];
    EXPECT_EQ(translation.key, u"Translation");
    EXPECT_EQ(translation.type, 0);
    EXPECT_EQ(translation.value, (Bytes{0x09, 0x04, 0xB0, 0x04}));
    EXPECT_TRUE(translation.children.empty());
}
