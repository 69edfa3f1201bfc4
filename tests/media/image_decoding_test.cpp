#include "media/image_decoding.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <cstdio>
#include <cstring>
#include <functional>

// clang-format off
#include <jpeglib.h>
// clang-format on
#include <openjpeg.h>

#include "core/files.h"
#include "media/image_encoding.h"
#include "support/working_dir.h"

namespace orv {
namespace {

// Every pixel different, so that a swapped channel, a wrong row stride or a flipped
// row shows. Odd sizes keep rows from lining up with any block size.
QImage Varied(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y,
                           qRgb((x * 7 + y) & 0xFF, (y * 11 + 3) & 0xFF, (x * y + 40) & 0xFF));
        }
    }
    return image;
}

// Four flat quarters: red, green, blue, grey. Lossy formats keep flat areas, so the
// quarter centres tell the channels apart.
QImage Quarters(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    const QRgb colours[4] = {qRgb(220, 30, 40), qRgb(30, 190, 50), qRgb(40, 50, 210),
                             qRgb(128, 128, 128)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, colours[(y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0)]);
        }
    }
    return image;
}

std::string Saved(const QImage& image, const char* format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format, quality)) << format;
    return bytes.toStdString();
}

// The largest difference of any channel, alpha included, over all pixels; -1 when
// the sizes differ.
int LargestDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return -1;
    const QImage left = a.convertToFormat(QImage::Format_ARGB32);
    const QImage right = b.convertToFormat(QImage::Format_ARGB32);
    int largest = 0;
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y), q = right.pixel(x, y);
            largest =
                std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return largest;
}

// Print shops' JPEGs are CMYK with the inks stored inverted (Adobe's convention).
std::string CmykJpeg(int width, int height, const unsigned char inverted[4]) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * 4);
    for (int x = 0; x < width; ++x)
        std::memcpy(&row[static_cast<size_t>(x) * 4], inverted, 4);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char*>(out), size);
    std::free(out);
    return bytes;
}

// JPEG 2000 pictures of any layout, written losslessly through OpenJPEG itself: grey,
// with alpha, deeper or shallower than 8 bits, signed, YCbCr with subsampled chroma.
struct Component {
    int dx = 1;
    int dy = 1;
    int bits = 8;
    bool isSigned = false;
    bool alpha = false;
    std::function<int(int x, int y)> value;  // at the component's own sample position
};

std::string Jpeg2000Of(int width, int height, OPJ_COLOR_SPACE space,
                       const std::vector<Component>& components, OPJ_CODEC_FORMAT codec) {
    std::vector<opj_image_cmptparm_t> parts(components.size());
    for (size_t i = 0; i < components.size(); ++i) {
        const Component& c = components[i];
        parts[i] = {};
        parts[i].dx = static_cast<OPJ_UINT32>(c.dx);
        parts[i].dy = static_cast<OPJ_UINT32>(c.dy);
        parts[i].w = static_cast<OPJ_UINT32>((width + c.dx - 1) / c.dx);
        parts[i].h = static_cast<OPJ_UINT32>((height + c.dy - 1) / c.dy);
        parts[i].prec = static_cast<OPJ_UINT32>(c.bits);
        parts[i].sgnd = c.isSigned ? 1 : 0;
    }
    opj_image_t* image =
        opj_image_create(static_cast<OPJ_UINT32>(parts.size()), parts.data(), space);
    image->x1 = static_cast<OPJ_UINT32>(width);
    image->y1 = static_cast<OPJ_UINT32>(height);
    for (size_t i = 0; i < components.size(); ++i) {
        opj_image_comp_t& comp = image->comps[i];
        comp.alpha = components[i].alpha ? 1 : 0;
        for (OPJ_UINT32 y = 0; y < comp.h; ++y) {
            for (OPJ_UINT32 x = 0; x < comp.w; ++x) {
                comp.data[y * comp.w + x] =
                    components[i].value(static_cast<int>(x), static_cast<int>(y));
            }
        }
    }
    opj_cparameters_t parameters;
    opj_set_default_encoder_parameters(&parameters);
    parameters.tcp_numlayers = 1;
    parameters.tcp_rates[0] = 0;
    parameters.cp_disto_alloc = 1;
    parameters.numresolution = 2;
    opj_codec_t* encoder = opj_create_compress(codec);
    opj_setup_encoder(encoder, &parameters, image);
    const std::string path = testing::TempDir() + "orv-component-test.j2k";
    opj_stream_t* stream = opj_stream_create_default_file_stream(path.c_str(), OPJ_FALSE);
    const bool written = opj_start_compress(encoder, image, stream) &&
                         opj_encode(encoder, stream) && opj_end_compress(encoder, stream);
    opj_stream_destroy(stream);
    opj_destroy_codec(encoder);
    opj_image_destroy(image);
    EXPECT_TRUE(written);
    std::string bytes = test::FileText(path);
    std::remove(path.c_str());
    return bytes;
}

TEST(DetectImageFormatTest, KnowsEachFormatByItsFirstBytes) {
    struct Case {
        std::string bytes;
        ImageFormat format;
    };
    const Case cases[] = {
        {std::string("\x89PNG\r\n\x1A\n....", 12), ImageFormat::Png},
        {std::string("\xFF\xD8\xFF\xE0", 4), ImageFormat::Jpeg},
        {std::string("\xFF\x4F\xFF\x51\x00", 5), ImageFormat::Jpeg2000Codestream},
        {std::string("\x00\x00\x00\x0CjP  \r\n\x87\n\x00", 13), ImageFormat::Jpeg2000File},
        {std::string("\x89PNG\r\n", 6), ImageFormat::Unknown},  // cut inside the signature
        {std::string("\xFF\xD8", 2), ImageFormat::Unknown},
        {"GIF89a", ImageFormat::Unknown},
        {"", ImageFormat::Unknown},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DetectImageFormat(c.bytes), c.format) << testing::PrintToString(c.bytes);
    }
}

TEST(DecodeImageTest, LosslessPicturesComeBackPixelForPixel) {
    const QImage varied = Varied(37, 21);

    QImage withAlpha = Varied(9, 5).convertToFormat(QImage::Format_ARGB32);
    for (int x = 0; x < withAlpha.width(); ++x) {
        withAlpha.setPixel(x, 2, qRgba(200, 100, 50, x * 28));
    }
    QImage grey(13, 7, QImage::Format_Grayscale8);
    for (int y = 0; y < grey.height(); ++y) {
        for (int x = 0; x < grey.width(); ++x)
            grey.scanLine(y)[x] = static_cast<uchar>(x * 19 + y);
    }
    QImage palette(11, 3, QImage::Format_Indexed8);
    palette.setColorTable({qRgba(255, 0, 0, 255), qRgba(0, 0, 255, 255), qRgba(0, 0, 0, 0)});
    for (int y = 0; y < palette.height(); ++y) {
        for (int x = 0; x < palette.width(); ++x)
            palette.setPixel(x, y, (x + y) % 3);
    }
    // 16 bits a channel with no gamma note is sRGB like its 8-bit counterpart, not
    // linear light (which would brighten every mid-tone).
    const QImage deep = Varied(15, 9).convertToFormat(QImage::Format_RGBX64);

    struct Case {
        const char* name;
        std::string bytes;
        QImage expected;
        QImage::Format format;
    };
    const Case cases[] = {
        {"PNG, RGB", Saved(varied, "PNG"), varied, QImage::Format_RGB32},
        {"PNG, alpha", Saved(withAlpha, "PNG"), withAlpha, QImage::Format_ARGB32},
        {"PNG, grey", Saved(grey, "PNG"), grey, QImage::Format_RGB32},
        {"PNG, palette with a clear entry", Saved(palette, "PNG"), palette, QImage::Format_ARGB32},
        {"PNG, 16 bits", Saved(deep, "PNG"), Varied(15, 9), QImage::Format_RGB32},
        {"JP2 file", EncodeJpeg2000(varied).value_or(""), varied, QImage::Format_RGB32},
        {"JPEG 2000 codestream",
         EncodeJpeg2000(varied, {Jpeg2000Container::Codestream, 0}).value_or(""), varied,
         QImage::Format_RGB32},
        {"JP2 of one pixel", EncodeJpeg2000(Varied(1, 1)).value_or(""), Varied(1, 1),
         QImage::Format_RGB32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<QImage> image = DecodeImage(c.bytes);
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->format(), c.format);
        EXPECT_EQ(LargestDifference(*image, c.expected), 0);
    }
}

TEST(DecodeImageTest, EveryJpeg2000LayoutBecomesEightBitColour) {
    constexpr int kWidth = 10, kHeight = 6;
    const auto grey = [](int x, int y) { return x * 20 + y * 3; };
    const auto constant = [](int value) { return [value](int, int) { return value; }; };
    QImage greyPicture(kWidth, kHeight, QImage::Format_RGB32);
    QImage clearGrey(kWidth, kHeight, QImage::Format_ARGB32);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            greyPicture.setPixel(x, y, qRgb(grey(x, y), grey(x, y), grey(x, y)));
            clearGrey.setPixel(x, y, qRgba(grey(x, y), grey(x, y), grey(x, y), x * 25));
        }
    }
    QImage red(kWidth, kHeight, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    QImage shallow(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x)
            shallow.setPixel(x, y, qRgb(x * 17, x * 17, x * 17));
    }

    struct Case {
        const char* name;
        std::string bytes;
        QImage expected;
        int tolerance;
    };
    const Case cases[] = {
        {"grey", Jpeg2000Of(kWidth, kHeight, OPJ_CLRSPC_GRAY, {{.value = grey}}, OPJ_CODEC_JP2),
         greyPicture, 0},
        {"grey and alpha",
         Jpeg2000Of(kWidth, kHeight, OPJ_CLRSPC_GRAY,
                    {{.value = grey}, {.alpha = true, .value = [](int x, int) { return x * 25; }}},
                    OPJ_CODEC_JP2),
         clearGrey, 0},
        {"12-bit grey",
         Jpeg2000Of(kWidth, kHeight, OPJ_CLRSPC_GRAY,
                    {{.bits = 12, .value = [&](int x, int y) { return grey(x, y) << 4; }}},
                    OPJ_CODEC_J2K),
         greyPicture, 0},
        {"4-bit grey",
         Jpeg2000Of(kWidth, kHeight, OPJ_CLRSPC_GRAY,
                    {{.bits = 4, .value = [](int x, int) { return x; }}}, OPJ_CODEC_J2K),
         shallow, 0},
        {"signed grey",
         Jpeg2000Of(kWidth, kHeight, OPJ_CLRSPC_GRAY,
                    {{.isSigned = true, .value = [&](int x, int y) { return grey(x, y) - 128; }}},
                    OPJ_CODEC_J2K),
         greyPicture, 0},
        {"YCbCr labelled",
         Jpeg2000Of(kWidth, kHeight, OPJ_CLRSPC_SYCC,
                    {{.value = constant(76)}, {.value = constant(85)}, {.value = constant(255)}},
                    OPJ_CODEC_JP2),
         red, 2},
        {"YCbCr 4:2:0, unlabelled",
         Jpeg2000Of(kWidth, kHeight, OPJ_CLRSPC_UNSPECIFIED,
                    {{.value = constant(76)},
                     {.dx = 2, .dy = 2, .value = constant(85)},
                     {.dx = 2, .dy = 2, .value = constant(255)}},
                    OPJ_CODEC_J2K),
         red, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<QImage> image = DecodeImage(c.bytes);
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->hasAlphaChannel(), c.expected.hasAlphaChannel());
        ASSERT_EQ(image->size(), c.expected.size());
        EXPECT_LE(LargestDifference(*image, c.expected), c.tolerance);
    }
}

TEST(DecodeImageTest, LossyPicturesKeepSizeAndColours) {
    const QImage quarters = Quarters(48, 32);
    QImage greyQuarters = quarters.convertToFormat(QImage::Format_Grayscale8);
    const unsigned char adobeRed[4] = {255, 0, 0, 255};  // C 0, M 255, Y 255, K 0, inverted

    QImage red(16, 8, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));

    struct Case {
        const char* name;
        std::string bytes;
        QImage expected;
        int tolerance;
    };
    const Case cases[] = {
        {"JPEG, own encoder", EncodeJpeg(quarters, 95).value_or(""), quarters, 8},
        {"JPEG, Qt's encoder", Saved(quarters, "JPG", 95), quarters, 8},
        {"JPEG, grey", Saved(greyQuarters, "JPG", 95), greyQuarters, 8},
        {"JPEG, CMYK", CmykJpeg(16, 8, adobeRed), red, 8},
        {"JP2, compressed 8:1", EncodeJpeg2000(quarters, {Jpeg2000Container::File, 8}).value_or(""),
         quarters, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<QImage> image = DecodeImage(c.bytes);
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->format(), QImage::Format_RGB32);
        ASSERT_EQ(image->size(), c.expected.size());
        // Edges blur in lossy formats; the middle of each quarter must not.
        const int w = image->width(), h = image->height();
        for (const QPoint at : {QPoint(w / 4, h / 4), QPoint(3 * w / 4, h / 4),
                                QPoint(w / 4, 3 * h / 4), QPoint(3 * w / 4, 3 * h / 4)}) {
            const QRgb got = image->pixel(at), want = c.expected.pixel(at);
            EXPECT_NEAR(qRed(got), qRed(want), c.tolerance) << at.x() << "," << at.y();
            EXPECT_NEAR(qGreen(got), qGreen(want), c.tolerance) << at.x() << "," << at.y();
            EXPECT_NEAR(qBlue(got), qBlue(want), c.tolerance) << at.x() << "," << at.y();
        }
    }
}

// A picture claiming an enormous size must be refused before memory is taken for it.
std::string WithClaimedSize(std::string bytes, ImageFormat format, std::uint32_t side) {
    if (format == ImageFormat::Jpeg) {
        const size_t frame = bytes.find("\xFF\xC0");  // baseline frame header
        EXPECT_NE(frame, std::string::npos);
        // Marker, length, precision, then height and width as 16-bit numbers.
        for (size_t at : {frame + 5, frame + 7}) {
            bytes[at] = static_cast<char>(side >> 8);
            bytes[at + 1] = static_cast<char>(side & 0xFF);
        }
    } else {
        // SIZ after SOC: marker, length, capabilities, then width and height.
        for (size_t at : {size_t{8}, size_t{12}}) {
            for (int i = 0; i < 4; ++i)
                bytes[at + i] = static_cast<char>(side >> (24 - 8 * i));
        }
    }
    return bytes;
}

TEST(DecodeImageTest, DamagedPicturesAreFailedLoads) {
    const QImage picture = Varied(40, 30);
    const std::string png = Saved(picture, "PNG");
    const std::string jpeg = EncodeJpeg(picture).value_or("");
    const std::string jp2 = EncodeJpeg2000(picture).value_or("");
    const std::string j2k =
        EncodeJpeg2000(picture, {Jpeg2000Container::Codestream, 0}).value_or("");
    ASSERT_TRUE(DecodeImage(png) && DecodeImage(jpeg) && DecodeImage(jp2) && DecodeImage(j2k));

    const auto half = [](const std::string& bytes) { return bytes.substr(0, bytes.size() / 2); };
    const auto withoutEnd = [](const std::string& bytes) {
        return bytes.substr(0, bytes.size() - 20);
    };
    const auto overwrite = [](std::string bytes, size_t at, size_t count, char value) {
        for (size_t i = at; i < at + count && i < bytes.size(); ++i)
            bytes[i] = value;
        return bytes;
    };

    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", ""},
        {"text", "not a picture at all"},
        {"PNG signature alone", png.substr(0, 8)},
        {"PNG, first half", half(png)},
        {"PNG, end missing", withoutEnd(png)},
        {"PNG, damaged image data", overwrite(png, png.size() / 2, 16, '\x55')},
        {"PNG, damaged header", overwrite(png, 16, 8, '\x00')},
        {"JPEG start alone", jpeg.substr(0, 3)},
        {"JPEG, first half", half(jpeg)},
        {"JPEG, end missing", withoutEnd(jpeg)},
        {"JPEG, damaged tables", overwrite(jpeg, 4, 60, '\x00')},
        {"JPEG, claims 60000 x 60000", WithClaimedSize(jpeg, ImageFormat::Jpeg, 60000)},
        {"JP2, first half", half(jp2)},
        {"JP2, end missing", withoutEnd(jp2)},
        {"JP2, damaged box length", overwrite(jp2, 12, 4, '\x7F')},
        {"codestream, first half", half(j2k)},
        {"codestream, end missing", withoutEnd(j2k)},
        {"codestream, damaged size", overwrite(j2k, 4, 2, '\x00')},
        {"codestream, claims 100000 x 100000",
         WithClaimedSize(j2k, ImageFormat::Jpeg2000Codestream, 100000)},
        {"codestream, garbage after the markers", j2k.substr(0, 4) + std::string(300, '\xA5')},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(DecodeImage(c.bytes).has_value()) << c.name;
    }
}

class DecodeImageFileTest : public test::InWorkingDir {};

TEST_F(DecodeImageFileTest, TheContentDecidesNotTheName) {
    const QImage picture = Varied(20, 10);
    ASSERT_TRUE(MakeFolder("images"));
    struct Case {
        const char* path;  // as a plan stores it
        std::string bytes;
    };
    const Case cases[] = {
        {"images\\board.jpg", Saved(picture, "PNG")},
        {"images/board.png", EncodeJpeg(picture).value_or("")},
        {"images/board.bmp", EncodeJpeg2000(picture).value_or("")},
        {"board", EncodeJpeg2000(picture, {Jpeg2000Container::Codestream, 0}).value_or("")},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(ReplaceFile(c.path, "tmp", c.bytes) == ReplaceResult::Replaced) << c.path;
        const std::optional<QImage> image = DecodeImageFile(c.path);
        ASSERT_TRUE(image.has_value()) << c.path;
        EXPECT_EQ(image->size(), picture.size()) << c.path;
    }
    EXPECT_FALSE(DecodeImageFile("images/missing.png").has_value());
    ASSERT_TRUE(CreateNewFile("images/empty.png", ""));
    EXPECT_FALSE(DecodeImageFile("images/empty.png").has_value());
}

// A device, a pipe or a file past the size limit gives no picture, and nothing hangs
// or fills the memory; a picture within the limit still decodes.
TEST_F(DecodeImageFileTest, OnlyRegularFilesWithinTheSizeLimitAreRead) {
    const std::string png = Saved(Varied(20, 10), "PNG");
    ASSERT_TRUE(ReplaceFile("board.png", "tmp", png) == ReplaceResult::Replaced);
    ASSERT_TRUE(DecodeImageFile("board.png").has_value());
    // The same picture with zeros after it up to one byte past the limit: sparse, so it
    // takes no room on the disk.
    ASSERT_TRUE(ReplaceFile("huge.png", "tmp", png) == ReplaceResult::Replaced);
    ASSERT_EQ(truncate("huge.png", kMaxImageFileBytes + 1), 0);
    ASSERT_EQ(mkfifo("pipe.png", 0644), 0);
    for (const char* path : {"huge.png", "pipe.png", "/dev/zero", "."})
        EXPECT_FALSE(DecodeImageFile(path).has_value()) << path;
}

TEST(EncodeImageTest, NothingToEncodeGivesNothing) {
    EXPECT_FALSE(EncodeJpeg(QImage()).has_value());
    EXPECT_FALSE(EncodeJpeg2000(QImage()).has_value());
}

TEST(EncodeImageTest, TransparencyIsDroppedAndTheColoursStay) {
    QImage clear(8, 8, QImage::Format_ARGB32);
    clear.fill(qRgba(10, 200, 30, 255));
    clear.setPixel(0, 0, qRgba(10, 200, 30, 0));
    for (const std::optional<std::string>& bytes :
         {EncodeJpeg(clear, 100), EncodeJpeg2000(clear)}) {
        ASSERT_TRUE(bytes.has_value());
        const std::optional<QImage> image = DecodeImage(*bytes);
        ASSERT_TRUE(image.has_value());
        EXPECT_FALSE(image->hasAlphaChannel());
        EXPECT_NEAR(qGreen(image->pixel(0, 0)), 200, 6);
    }
}

}  // namespace
}  // namespace orv
