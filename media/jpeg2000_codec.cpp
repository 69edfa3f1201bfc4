// JPEG 2000 through OpenJPEG, read from and written to memory through stream
// callbacks. OpenJPEG reports errors by return value, so ordinary owners suffice.

#include <openjpeg.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "media/image_codecs.h"
#include "media/image_encoding.h"

namespace orv {

namespace {

struct CodecDeleter {
    void operator()(opj_codec_t* codec) const { opj_destroy_codec(codec); }
};
struct StreamDeleter {
    void operator()(opj_stream_t* stream) const { opj_stream_destroy(stream); }
};
struct ImageDeleter {
    void operator()(opj_image_t* image) const { opj_image_destroy(image); }
};
using CodecPtr = std::unique_ptr<opj_codec_t, CodecDeleter>;
using StreamPtr = std::unique_ptr<opj_stream_t, StreamDeleter>;
using ImagePtr = std::unique_ptr<opj_image_t, ImageDeleter>;

void IgnoreMessage(const char*, void*) {}

// OpenJPEG prints nothing of its own; its messages are not the user's business.
void Silence(opj_codec_t* codec) {
    opj_set_info_handler(codec, IgnoreMessage, nullptr);
    opj_set_warning_handler(codec, IgnoreMessage, nullptr);
    opj_set_error_handler(codec, IgnoreMessage, nullptr);
}

// Large photographs decode tile by tile and code block by code block in parallel.
void UseAllCores(opj_codec_t* codec) {
    if (!opj_has_thread_support())
        return;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    opj_codec_set_threads(codec, static_cast<int>(std::min(cores, 8u)));
}

struct MemoryReader {
    const unsigned char* data;
    OPJ_SIZE_T size;
    OPJ_SIZE_T offset;
};

OPJ_SIZE_T ReadMemory(void* buffer, OPJ_SIZE_T count, void* user) {
    auto* reader = static_cast<MemoryReader*>(user);
    if (reader->offset >= reader->size)
        return static_cast<OPJ_SIZE_T>(-1);
    const OPJ_SIZE_T n = std::min(count, reader->size - reader->offset);
    std::memcpy(buffer, reader->data + reader->offset, n);
    reader->offset += n;
    return n;
}

// At the end -1, never 0: OpenJPEG would keep asking for the rest of a skip.
OPJ_OFF_T SkipMemory(OPJ_OFF_T count, void* user) {
    auto* reader = static_cast<MemoryReader*>(user);
    if (count < 0 || reader->offset >= reader->size)
        return -1;
    const OPJ_SIZE_T n = std::min(static_cast<OPJ_SIZE_T>(count), reader->size - reader->offset);
    reader->offset += n;
    return static_cast<OPJ_OFF_T>(n);
}

OPJ_BOOL SeekMemory(OPJ_OFF_T position, void* user) {
    auto* reader = static_cast<MemoryReader*>(user);
    if (position < 0 || static_cast<OPJ_SIZE_T>(position) > reader->size)
        return OPJ_FALSE;
    reader->offset = static_cast<OPJ_SIZE_T>(position);
    return OPJ_TRUE;
}

StreamPtr MakeReadStream(MemoryReader* reader) {
    const OPJ_SIZE_T chunk = std::clamp<OPJ_SIZE_T>(reader->size, 4096, OPJ_J2K_STREAM_CHUNK_SIZE);
    StreamPtr stream(opj_stream_create(chunk, OPJ_TRUE));
    if (!stream)
        return stream;
    opj_stream_set_user_data(stream.get(), reader, nullptr);
    opj_stream_set_user_data_length(stream.get(), reader->size);
    opj_stream_set_read_function(stream.get(), ReadMemory);
    opj_stream_set_skip_function(stream.get(), SkipMemory);
    opj_stream_set_seek_function(stream.get(), SeekMemory);
    return stream;
}

struct MemoryWriter {
    std::string bytes;
    size_t offset = 0;
};

// Called from OpenJPEG's C frames: no exception may leave.
OPJ_SIZE_T WriteMemory(void* buffer, OPJ_SIZE_T count, void* user) {
    auto* writer = static_cast<MemoryWriter*>(user);
    try {
        if (writer->offset + count > writer->bytes.size())
            writer->bytes.resize(writer->offset + count);
    } catch (...) {
        return static_cast<OPJ_SIZE_T>(-1);
    }
    std::memcpy(writer->bytes.data() + writer->offset, buffer, count);
    writer->offset += count;
    return count;
}

OPJ_OFF_T SkipWritten(OPJ_OFF_T count, void* user) {
    auto* writer = static_cast<MemoryWriter*>(user);
    if (count < 0 && static_cast<size_t>(-count) > writer->offset)
        return -1;
    writer->offset += count;
    return count;
}

OPJ_BOOL SeekWritten(OPJ_OFF_T position, void* user) {
    if (position < 0)
        return OPJ_FALSE;
    static_cast<MemoryWriter*>(user)->offset = static_cast<size_t>(position);
    return OPJ_TRUE;
}

// One component's samples as 8-bit values, sampled on the picture's pixel grid.
struct Channel {
    const opj_image_comp_t* comp = nullptr;
    std::vector<OPJ_UINT32> column;  // sample column of each picture column
    bool direct = false;             // one sample per pixel, column x at x
    std::int32_t offset = 0;         // makes signed samples unsigned
    int shift = 0;                   // for more than 8 bits
    std::int32_t maxIn = 255;        // for fewer than 8 bits

    const OPJ_INT32* Row(const opj_image_t& image, int y) const {
        const std::int64_t at = (std::int64_t{image.y0} + y) / comp->dy - comp->y0;
        const auto r = static_cast<OPJ_UINT32>(std::clamp<std::int64_t>(at, 0, comp->h - 1));
        return comp->data + static_cast<size_t>(r) * comp->w;
    }

    // Damaged data can decode outside the component's range: clamped, never wrapped.
    void ToBytes(const OPJ_INT32* row, std::uint8_t* out, int width) const {
        if (direct && offset == 0 && shift == 0 && maxIn == 255) {
            for (int x = 0; x < width; ++x)
                out[x] = static_cast<std::uint8_t>(std::clamp(row[x], 0, 255));
            return;
        }
        for (int x = 0; x < width; ++x) {
            std::int64_t v = std::int64_t{row[column[static_cast<size_t>(x)]]} + offset;
            v = maxIn == 255 ? (v >> shift) : v * 255 / maxIn;
            out[x] = static_cast<std::uint8_t>(std::clamp<std::int64_t>(v, 0, 255));
        }
    }
};

bool PrepareChannel(const opj_image_t& image, OPJ_UINT32 index, int width, Channel& channel) {
    const opj_image_comp_t& comp = image.comps[index];
    if (comp.data == nullptr || comp.w == 0 || comp.h == 0 || comp.dx == 0 || comp.dy == 0 ||
        comp.prec < 1 || comp.prec > 31) {
        return false;
    }
    channel.comp = &comp;
    channel.column.resize(static_cast<size_t>(width));
    channel.direct = comp.w >= static_cast<OPJ_UINT32>(width);
    for (int x = 0; x < width; ++x) {
        const std::int64_t at = (std::int64_t{image.x0} + x) / comp.dx - comp.x0;
        const auto column = static_cast<OPJ_UINT32>(std::clamp<std::int64_t>(at, 0, comp.w - 1));
        channel.column[static_cast<size_t>(x)] = column;
        channel.direct = channel.direct && column == static_cast<OPJ_UINT32>(x);
    }
    channel.offset = comp.sgnd ? (std::int32_t{1} << (comp.prec - 1)) : 0;
    if (comp.prec >= 8) {
        channel.shift = static_cast<int>(comp.prec) - 8;
    } else {
        channel.maxIn = (std::int32_t{1} << comp.prec) - 1;
    }
    return true;
}

QRgb YccToRgb(int y, int cb, int cr) {
    const int b = cb - 128, r = cr - 128;
    // ITU-R BT.601 in 16-bit fixed point.
    const auto clamp8 = [](int v) { return std::clamp((v + 32768) >> 16, 0, 255); };
    const int luma = y << 16;
    return qRgb(clamp8(luma + 91881 * r), clamp8(luma - 22554 * b - 46802 * r),
                clamp8(luma + 116130 * b));
}

std::optional<QImage> ToQImage(const opj_image_t& image) {
    const std::int64_t width64 = std::int64_t{image.x1} - image.x0;
    const std::int64_t height64 = std::int64_t{image.y1} - image.y0;
    if (!codecs::AcceptableImageSize(width64, height64) || image.numcomps == 0) {
        return std::nullopt;
    }
    const int width = static_cast<int>(width64), height = static_cast<int>(height64);
    const OPJ_UINT32 count = image.numcomps;

    // Transparency: a component marked as alpha, else the second of two or the fourth
    // of four colour components (not CMYK's black).
    int alpha = -1;
    for (OPJ_UINT32 i = 0; i < count && alpha < 0; ++i) {
        if (image.comps[i].alpha != 0)
            alpha = static_cast<int>(i);
    }
    if (alpha < 0 && count == 2)
        alpha = 1;
    if (alpha < 0 && count == 4 && image.color_space != OPJ_CLRSPC_CMYK)
        alpha = 3;
    const bool colour = count >= 3 && alpha != 0 && alpha != 1 && alpha != 2;
    const bool cmyk = colour && count >= 4 && image.color_space == OPJ_CLRSPC_CMYK;
    // Chroma kept at lower resolution than luma means YCbCr even when unlabelled.
    const bool ycc =
        colour && !cmyk &&
        (image.color_space == OPJ_CLRSPC_SYCC || image.color_space == OPJ_CLRSPC_EYCC ||
         (image.color_space != OPJ_CLRSPC_SRGB && image.comps[0].dx == 1 &&
          (image.comps[1].dx != 1 || image.comps[1].dy != 1)));

    std::vector<Channel> channels(colour ? (cmyk ? 4 : 3) : 1);
    for (OPJ_UINT32 i = 0; i < channels.size(); ++i) {
        if (!PrepareChannel(image, i, width, channels[i]))
            return std::nullopt;
    }
    if (alpha >= 0) {
        channels.emplace_back();
        if (!PrepareChannel(image, static_cast<OPJ_UINT32>(alpha), width, channels.back())) {
            return std::nullopt;
        }
    }

    QImage picture(width, height, alpha >= 0 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (picture.isNull())
        return std::nullopt;
    // One row of 8-bit values per channel: colour channels first, alpha last.
    std::vector<std::vector<std::uint8_t>> rows(
        channels.size(), std::vector<std::uint8_t>(static_cast<size_t>(width)));
    for (int y = 0; y < height; ++y) {
        for (size_t c = 0; c < channels.size(); ++c) {
            channels[c].ToBytes(channels[c].Row(image, y), rows[c].data(), width);
        }
        auto* out = reinterpret_cast<QRgb*>(picture.scanLine(y));
        const std::uint8_t* a = rows[0].data();
        if (!colour) {
            for (int x = 0; x < width; ++x)
                out[x] = qRgb(a[x], a[x], a[x]);
        } else {
            const std::uint8_t* b = rows[1].data();
            const std::uint8_t* c = rows[2].data();
            if (ycc) {
                for (int x = 0; x < width; ++x)
                    out[x] = YccToRgb(a[x], b[x], c[x]);
            } else if (cmyk) {
                const std::uint8_t* k = rows[3].data();
                for (int x = 0; x < width; ++x) {
                    const int white = 255 - k[x];
                    out[x] = qRgb((255 - a[x]) * white / 255, (255 - b[x]) * white / 255,
                                  (255 - c[x]) * white / 255);
                }
            } else {
                for (int x = 0; x < width; ++x)
                    out[x] = qRgb(a[x], b[x], c[x]);
            }
        }
        if (alpha >= 0) {
            const std::uint8_t* opacity = rows.back().data();
            for (int x = 0; x < width; ++x)
                out[x] = (out[x] & 0x00FFFFFFu) | (QRgb{opacity[x]} << 24);
        }
    }
    return picture;
}

}  // namespace

namespace codecs {

std::optional<QImage> DecodeJpeg2000(std::string_view bytes, ImageFormat format) {
    CodecPtr codec(
        opj_create_decompress(format == ImageFormat::Jpeg2000File ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K));
    if (!codec)
        return std::nullopt;
    Silence(codec.get());
    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    if (!opj_setup_decoder(codec.get(), &parameters))
        return std::nullopt;
    // Without strict mode a truncated codestream decodes to a partly blank picture.
    opj_decoder_set_strict_mode(codec.get(), OPJ_TRUE);
    UseAllCores(codec.get());

    MemoryReader reader{reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), 0};
    const StreamPtr stream = MakeReadStream(&reader);
    if (!stream)
        return std::nullopt;
    opj_image_t* header = nullptr;
    const bool headerRead = opj_read_header(stream.get(), codec.get(), &header);
    const ImagePtr image(header);
    if (!headerRead || !image)
        return std::nullopt;
    // Refused before OpenJPEG allocates the whole picture: at most four channels
    // (a palette is expanded later), at most kMaxImagePixels.
    if (image->numcomps < 1 || image->numcomps > 4 ||
        !AcceptableImageSize(std::int64_t{image->x1} - image->x0,
                             std::int64_t{image->y1} - image->y0)) {
        return std::nullopt;
    }
    if (!opj_decode(codec.get(), stream.get(), image.get()))
        return std::nullopt;
    if (!opj_end_decompress(codec.get(), stream.get()))
        return std::nullopt;
    return ToQImage(*image);
}

}  // namespace codecs

std::optional<std::string> EncodeJpeg2000(const QImage& image, const Jpeg2000Options& options) {
    if (image.isNull())
        return std::nullopt;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull())
        return std::nullopt;
    const auto width = static_cast<OPJ_UINT32>(rgb.width());
    const auto height = static_cast<OPJ_UINT32>(rgb.height());

    opj_image_cmptparm_t parts[3];
    std::memset(parts, 0, sizeof parts);
    for (opj_image_cmptparm_t& part : parts) {
        part.dx = part.dy = 1;
        part.w = width;
        part.h = height;
        part.prec = 8;
    }
    const ImagePtr picture(opj_image_create(3, parts, OPJ_CLRSPC_SRGB));
    if (!picture)
        return std::nullopt;
    picture->x1 = width;
    picture->y1 = height;
    for (OPJ_UINT32 y = 0; y < height; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(static_cast<int>(y)));
        const size_t at = static_cast<size_t>(y) * width;
        for (OPJ_UINT32 x = 0; x < width; ++x) {
            picture->comps[0].data[at + x] = qRed(in[x]);
            picture->comps[1].data[at + x] = qGreen(in[x]);
            picture->comps[2].data[at + x] = qBlue(in[x]);
        }
    }

    opj_cparameters_t parameters;
    opj_set_default_encoder_parameters(&parameters);
    parameters.tcp_numlayers = 1;
    parameters.cp_disto_alloc = 1;
    parameters.tcp_mct = 1;
    const bool lossy = options.compressionRatio > 1;
    parameters.tcp_rates[0] = lossy ? options.compressionRatio : 0;
    parameters.irreversible = lossy ? 1 : 0;
    // Every resolution level halves the picture; the smallest must keep a pixel.
    const OPJ_UINT32 shorter = std::min(width, height);
    while (parameters.numresolution > 1 && (shorter >> (parameters.numresolution - 1)) == 0) {
        --parameters.numresolution;
    }

    const bool file = options.container == Jpeg2000Container::File;
    CodecPtr codec(opj_create_compress(file ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K));
    if (!codec)
        return std::nullopt;
    Silence(codec.get());
    if (!opj_setup_encoder(codec.get(), &parameters, picture.get()))
        return std::nullopt;
    UseAllCores(codec.get());

    MemoryWriter writer;
    const StreamPtr stream(opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, OPJ_FALSE));
    if (!stream)
        return std::nullopt;
    opj_stream_set_user_data(stream.get(), &writer, nullptr);
    opj_stream_set_write_function(stream.get(), WriteMemory);
    opj_stream_set_skip_function(stream.get(), SkipWritten);
    opj_stream_set_seek_function(stream.get(), SeekWritten);
    if (!opj_start_compress(codec.get(), picture.get(), stream.get()) ||
        !opj_encode(codec.get(), stream.get()) || !opj_end_compress(codec.get(), stream.get())) {
        return std::nullopt;
    }
    return std::move(writer.bytes);
}

}  // namespace orv
