// The committed pictures read field by field, as the programs that show them read them: a
// regenerated picture in the wrong form would still load in Qt and only fail on Windows.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readResource(const std::string& name)
{
    std::ifstream in(std::string(QIMLAR_RESOURCES) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

unsigned le16(const Bytes& b, size_t at)
{
    return b.at(at) | b.at(at + 1) << 8;
}

std::uint32_t le32(const Bytes& b, size_t at)
{
    return le16(b, at) | std::uint32_t(le16(b, at + 2)) << 16;
}

unsigned be16(const Bytes& b, size_t at)
{
    return b.at(at) << 8 | b.at(at + 1);
}

// The 40-byte BITMAPINFOHEADER that both the bitmap and the icon image start with.
struct InfoHeader
{
    std::uint32_t size, width, height;
    unsigned planes, bitsPerPixel;
    std::uint32_t compression, imageSize, xResolution, yResolution, coloursUsed, important;
    bool operator==(const InfoHeader&) const = default;
};

std::ostream& operator<<(std::ostream& out, const InfoHeader& h)
{
    return out << "{size " << h.size << ", " << h.width << " x " << h.height << ", planes "
               << h.planes << ", " << h.bitsPerPixel << " bits, compression " << h.compression
               << ", image size " << h.imageSize << ", resolution " << h.xResolution << " x "
               << h.yResolution << ", colours " << h.coloursUsed << "/" << h.important << "}";
}

InfoHeader infoHeaderAt(const Bytes& b, size_t at)
{
    return {le32(b, at),      le32(b, at + 4),  le32(b, at + 8),  le16(b, at + 12),
            le16(b, at + 14), le32(b, at + 16), le32(b, at + 20), le32(b, at + 24),
            le32(b, at + 28), le32(b, at + 32), le32(b, at + 36)};
}

// ---- The splash picture: a baseline JFIF 1.02 JPEG, full colour resolution ----------------

struct JpegSegment
{
    unsigned marker;
    Bytes body; // after the length field
};

// The segments before the entropy-coded data, which starts after SOS.
std::vector<JpegSegment> jpegHeaderSegments(const Bytes& b)
{
    std::vector<JpegSegment> segments;
    size_t at = 2;
    while (at + 4 <= b.size()) {
        EXPECT_EQ(b[at], 0xFF) << "no marker at " << at;
        const unsigned marker = b[at + 1];
        const unsigned length = be16(b, at + 2);
        segments.push_back(
            {marker, Bytes(b.begin() + long(at) + 4, b.begin() + long(at + 2 + length))});
        if (marker == 0xDA)
            break;
        at += 2 + length;
    }
    return segments;
}

TEST(SplashPicture, IsABaselineJfifJpegOf361By181WithEveryComponentSampledOneByOne)
{
    const Bytes jpeg = readResource("frmshow.jpg");
    ASSERT_GT(jpeg.size(), 1000u);
    EXPECT_EQ(be16(jpeg, 0), 0xFFD8u);
    EXPECT_EQ(be16(jpeg, jpeg.size() - 2), 0xFFD9u);

    const auto segments = jpegHeaderSegments(jpeg);
    ASSERT_GE(segments.size(), 2u);

    // JFIF comes first: version 1.02, dots per inch, 72 x 72.
    const JpegSegment& jfif = segments.front();
    ASSERT_EQ(jfif.marker, 0xE0u);
    ASSERT_GE(jfif.body.size(), 12u);
    EXPECT_EQ(std::string(jfif.body.begin(), jfif.body.begin() + 5), std::string("JFIF\0", 5));
    EXPECT_EQ(jfif.body[5], 1);
    EXPECT_EQ(jfif.body[6], 2);
    EXPECT_EQ(jfif.body[7], 1);
    EXPECT_EQ(be16(jfif.body, 8), 72u);
    EXPECT_EQ(be16(jfif.body, 10), 72u);

    int frames = 0;
    for (const JpegSegment& s : segments) {
        // Any start-of-frame but the baseline one (progressive, lossless, arithmetic) is wrong.
        const bool startOfFrame = s.marker >= 0xC0 && s.marker <= 0xCF && s.marker != 0xC4 &&
                                  s.marker != 0xC8 && s.marker != 0xCC;
        if (!startOfFrame)
            continue;
        ++frames;
        EXPECT_EQ(s.marker, 0xC0u) << "not a baseline frame";
        EXPECT_EQ(s.body.at(0), 8) << "sample precision";
        EXPECT_EQ(be16(s.body, 1), 181u);
        EXPECT_EQ(be16(s.body, 3), 361u);
        ASSERT_EQ(s.body.at(5), 3) << "components";
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(s.body.at(6 + 3 * c), c + 1) << "component id (Y, Cb, Cr)";
            EXPECT_EQ(s.body.at(7 + 3 * c), 0x11) << "component " << c << " is subsampled";
        }
    }
    EXPECT_EQ(frames, 1);
    EXPECT_EQ(segments.back().marker, 0xDAu);
}

// ---- The main-window picture: a bottom-up 24-bit bitmap of 361 x 183 -----------------------

constexpr int mainWidth = 361, mainHeight = 183, mainRowBytes = 1084;

// The colour of the pixel at (x, y) counted from the top, as blue, green, red.
std::vector<int> mainPixel(const Bytes& bmp, int x, int y)
{
    const size_t at = 54 + size_t(mainHeight - 1 - y) * mainRowBytes + size_t(x) * 3;
    return {bmp.at(at), bmp.at(at + 1), bmp.at(at + 2)};
}

TEST(MainPicture, IsAnUncompressedBottomUp24BitBitmapWithEveryHeaderFieldSet)
{
    const Bytes bmp = readResource("Form1.bmp");
    ASSERT_EQ(bmp.size(), 198426u);

    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(le32(bmp, 2), 198426u) << "file size";
    EXPECT_EQ(le32(bmp, 6), 0u) << "reserved";
    EXPECT_EQ(le32(bmp, 10), 54u) << "pixel data offset";

    // A positive height: rows stored bottom-up. No resolution, no palette.
    EXPECT_EQ(infoHeaderAt(bmp, 14), (InfoHeader{40, 361, 183, 1, 24, 0, 198372, 0, 0, 0, 0}));

    for (int row = 0; row < mainHeight; ++row)
        ASSERT_EQ(bmp[54 + size_t(row) * mainRowBytes + 1083], 0) << "padding of row " << row;
}

TEST(MainPicture, DeepensToPureRedAtTheRightEdgeWithTheGlareNearTheUpperLeft)
{
    const Bytes bmp = readResource("Form1.bmp");
    ASSERT_EQ(bmp.size(), 198426u);
    for (int y = 0; y < mainHeight; ++y)
        ASSERT_EQ(mainPixel(bmp, mainWidth - 1, y), (std::vector<int>{0, 0, 255})) << "row " << y;
    // White-hot at the glare: a picture stored top-down or mirrored would miss it.
    for (int channel : mainPixel(bmp, 52, 50))
        EXPECT_GE(channel, 240);
    EXPECT_LT(mainPixel(bmp, 52, mainHeight - 1 - 50)[1], 200);
}

// ---- The program icon: one 32 x 32 image, 256 colours and a 1-bit mask ---------------------

TEST(ProgramIcon, IsOneImageOf32By32With256ColoursAndAMask)
{
    const Bytes ico = readResource("qimlar.ico");
    ASSERT_EQ(ico.size(), 2238u);

    EXPECT_EQ(le16(ico, 0), 0u) << "reserved";
    EXPECT_EQ(le16(ico, 2), 1u) << "type: icon";
    EXPECT_EQ(le16(ico, 4), 1u) << "one image";
    EXPECT_EQ(ico[6], 32) << "width";
    EXPECT_EQ(ico[7], 32) << "height";
    EXPECT_EQ(ico[8], 0) << "colour count";
    EXPECT_EQ(ico[9], 0) << "reserved";
    EXPECT_EQ(le16(ico, 10), 0u) << "planes";
    EXPECT_EQ(le16(ico, 12), 0u) << "bit count";
    EXPECT_EQ(le32(ico, 14), 2216u) << "image size";
    EXPECT_EQ(le32(ico, 18), 22u) << "image offset";

    // Twice the height: the colour rows, then the mask rows. Colours used 0: all 256.
    EXPECT_EQ(infoHeaderAt(ico, 22), (InfoHeader{40, 32, 64, 1, 8, 0, 1152, 0, 0, 0, 0}));

    for (size_t entry = 0; entry < 256; ++entry)
        ASSERT_EQ(ico[22 + 40 + entry * 4 + 3], 0) << "palette entry " << entry << " reserved byte";

    // The Windows resource carries the image on its own; it must be these very bytes.
    const Bytes image = readResource("qimlar-icon-image.bin");
    EXPECT_EQ(image, Bytes(ico.begin() + 22, ico.end()));
}

TEST(ProgramIcon, TransparentPixelsAreBlackUnderTheMaskAndTheGroundShowsAroundTheArtwork)
{
    const Bytes ico = readResource("qimlar.ico");
    ASSERT_EQ(ico.size(), 2238u);
    const size_t palette = 22 + 40, indices = palette + 1024, mask = indices + 1024;
    auto transparent = [&](int x, int y) { // y from the top
        return (ico[mask + size_t(31 - y) * 4 + size_t(x / 8)] >> (7 - x % 8) & 1) != 0;
    };
    auto colour = [&](int x, int y) {
        const size_t entry = palette + 4 * size_t(ico[indices + size_t(31 - y) * 32 + size_t(x)]);
        return std::vector<int>{ico[entry + 2], ico[entry + 1], ico[entry]}; // red, green, blue
    };

    int transparentCount = 0, upperLeftOpaque = 0, upperRightOpaque = 0, lowerOpaque = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (transparent(x, y)) {
                ++transparentCount;
                // Windows draws the colour with XOR over the ground: it must be black there.
                ASSERT_EQ(colour(x, y), (std::vector<int>{0, 0, 0})) << x << "," << y;
                continue;
            }
            upperLeftOpaque += y < 16 && x < 12;
            upperRightOpaque += y < 18 && x >= 14;
            lowerOpaque += y >= 20;
        }
    EXPECT_GT(transparentCount, 400);
    EXPECT_LT(transparentCount, 800);
    EXPECT_EQ(upperLeftOpaque, 0) << "the flag keeps to the upper right";
    EXPECT_GT(upperRightOpaque, 150) << "the flag";
    EXPECT_GT(lowerOpaque, 150) << "the name";
    for (auto [x, y] : {std::pair{0, 0}, {31, 31}, {0, 31}, {31, 0}})
        EXPECT_TRUE(transparent(x, y)) << "corner " << x << "," << y;
}

} // namespace
