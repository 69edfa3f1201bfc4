// JPEG through libjpeg(-turbo). libjpeg reports a fatal error by calling error_exit,
// which must not return: here it jumps back to the setjmp of the function that
// started the work. Those functions (RunJpegRead, RunJpegWrite) keep every C++ object
// outside their own frame, reached through a plain job record, so the jump skips no
// destructor; the QImage a job fills belongs to its caller.

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "media/image_codecs.h"
#include "media/image_encoding.h"

namespace orv {

namespace {

// libjpeg-turbo writes QImage's native 32-bit pixel 0xffRRGGBB directly.
constexpr J_COLOR_SPACE kNativeRgb32 =
    Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;

struct JpegErrors {
    jpeg_error_mgr pub;  // first: libjpeg sees only this part
    std::jmp_buf jump;
};

[[noreturn]] void JumpOnError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}

// Nothing is printed. The warnings that mean image data is missing or damaged end
// the work like an error: a truncated photograph is a failed load, not a picture
// with a grey lower half.
void OnJpegMessage(j_common_ptr cinfo, int level) {
    if (level >= 0)
        return;
    const int code = cinfo->err->msg_code;
    if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER || code == JWRN_MUST_RESYNC) {
        JumpOnError(cinfo);
    }
}

void PrepareErrors(JpegErrors* errors) {
    jpeg_std_error(&errors->pub);
    errors->pub.error_exit = JumpOnError;
    errors->pub.emit_message = OnJpegMessage;
}

struct JpegReadJob {
    const unsigned char* data;
    unsigned long size;
    QImage* image;  // the result, owned by the caller
};

bool MakeImageFor(JpegReadJob* job, JDIMENSION width, JDIMENSION height) {
    if (!codecs::AcceptableImageSize(width, height))
        return false;
    *job->image = QImage(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    return !job->image->isNull();
}

// Print-ready JPEGs are CMYK; the ones written with an Adobe marker store the inks
// inverted (255 = no ink).
void ConvertCmykRow(const JSAMPLE* cmyk, uchar* out, JDIMENSION width, bool inverted) {
    auto* pixels = reinterpret_cast<QRgb*>(out);
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4) {
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        pixels[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
    }
}

bool RunJpegRead(JpegReadJob* job) {
    jpeg_decompress_struct cinfo;
    JpegErrors errors;
    std::memset(&cinfo, 0, sizeof cinfo);  // destroying it is safe from the start
    PrepareErrors(&errors);
    cinfo.err = &errors.pub;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, job->data, job->size);
    jpeg_read_header(&cinfo, TRUE);
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : kNativeRgb32;
    if (!MakeImageFor(job, cinfo.image_width, cinfo.image_height)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_start_decompress(&cinfo);
    // Rows are written straight into the picture: they must be exactly its width.
    if (cinfo.output_width != static_cast<JDIMENSION>(job->image->width()) ||
        cinfo.output_height != static_cast<JDIMENSION>(job->image->height())) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    JSAMPARRAY cmykRow = nullptr;
    if (cmyk) {
        cmykRow = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                             cinfo.output_width * 4, 1);
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        const JDIMENSION y = cinfo.output_scanline;
        JDIMENSION read = 0;
        if (cmyk) {
            read = jpeg_read_scanlines(&cinfo, cmykRow, 1);
            if (read == 1) {
                ConvertCmykRow(cmykRow[0], job->image->scanLine(static_cast<int>(y)),
                               cinfo.output_width, cinfo.saw_Adobe_marker);
            }
        } else {
            JSAMPROW rows[16];
            JDIMENSION count = cinfo.output_height - y;
            if (count > 16)
                count = 16;
            for (JDIMENSION i = 0; i < count; ++i) {
                rows[i] = job->image->scanLine(static_cast<int>(y + i));
            }
            read = jpeg_read_scanlines(&cinfo, rows, count);
        }
        if (read == 0) {  // a memory source never suspends; do not spin if it did
            jpeg_destroy_decompress(&cinfo);
            return false;
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

// Compressed bytes go into a malloc'ed buffer that doubles when full; the caller frees
// it whether or not the work completed.
struct JpegDestination {
    jpeg_destination_mgr pub;  // first: libjpeg sees only this part
    unsigned char* data;
    size_t capacity;
};

void StartDestination(j_compress_ptr cinfo) {
    auto* destination = reinterpret_cast<JpegDestination*>(cinfo->dest);
    destination->capacity = 64 * 1024;
    destination->data = static_cast<unsigned char*>(std::malloc(destination->capacity));
    if (destination->data == nullptr)
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    destination->pub.next_output_byte = destination->data;
    destination->pub.free_in_buffer = destination->capacity;
}

boolean GrowDestination(j_compress_ptr cinfo) {
    auto* destination = reinterpret_cast<JpegDestination*>(cinfo->dest);
    const size_t used = destination->capacity;
    void* bigger = std::realloc(destination->data, used * 2);
    if (bigger == nullptr)
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 1);
    destination->data = static_cast<unsigned char*>(bigger);
    destination->capacity = used * 2;
    destination->pub.next_output_byte = destination->data + used;
    destination->pub.free_in_buffer = used;
    return TRUE;
}

void EndDestination(j_compress_ptr) {}

struct JpegWriteJob {
    const QImage* image;  // RGB32
    int quality;
    JpegDestination destination;
};

bool RunJpegWrite(JpegWriteJob* job) {
    jpeg_compress_struct cinfo;
    JpegErrors errors;
    std::memset(&cinfo, 0, sizeof cinfo);
    PrepareErrors(&errors);
    cinfo.err = &errors.pub;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    job->destination.pub.init_destination = StartDestination;
    job->destination.pub.empty_output_buffer = GrowDestination;
    job->destination.pub.term_destination = EndDestination;
    cinfo.dest = &job->destination.pub;
    cinfo.image_width = static_cast<JDIMENSION>(job->image->width());
    cinfo.image_height = static_cast<JDIMENSION>(job->image->height());
    cinfo.input_components = 4;
    cinfo.in_color_space = kNativeRgb32;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, job->quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        const uchar* line = job->image->constScanLine(static_cast<int>(cinfo.next_scanline));
        JSAMPROW row = const_cast<JSAMPROW>(line);  // libjpeg only reads input rows
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

namespace codecs {

std::optional<QImage> DecodeJpeg(std::string_view bytes) {
    QImage image;
    JpegReadJob job{reinterpret_cast<const unsigned char*>(bytes.data()),
                    static_cast<unsigned long>(bytes.size()), &image};
    if (!RunJpegRead(&job))
        return std::nullopt;
    return image;
}

}  // namespace codecs

std::optional<std::string> EncodeJpeg(const QImage& image, int quality) {
    if (image.isNull())
        return std::nullopt;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull())
        return std::nullopt;
    JpegWriteJob job{};
    job.image = &rgb;
    job.quality = quality < 1 ? 1 : (quality > 100 ? 100 : quality);
    std::optional<std::string> bytes;
    if (RunJpegWrite(&job)) {
        bytes.emplace(reinterpret_cast<const char*>(job.destination.data),
                      job.destination.capacity - job.destination.pub.free_in_buffer);
    }
    std::free(job.destination.data);
    return bytes;
}

}  // namespace orv
