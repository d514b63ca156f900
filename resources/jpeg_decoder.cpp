// SPDX-License-Identifier: GPL-3.0-or-later
#include "jpeg_decoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

namespace pairly {
namespace {

// Lives on the heap: what the decoder changes after setjmp must not be a
// local of the function that calls it.
struct Decoder {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    std::jmp_buf failed{};
    bool created = false;
    JpegDecoding result;

    ~Decoder()
    {
        if (created)
            jpeg_destroy_decompress(&info);
    }
};

[[noreturn]] void onFatalError(j_common_ptr info)
{
    std::longjmp(static_cast<Decoder*>(info->client_data)->failed, 1);
}

// Warnings (a truncated file, a corrupt stretch) leave grey where data was
// missing and the decoding goes on, as in other viewers.
void onMessage(j_common_ptr, int) {}

}  // namespace

JpegDecoding decodeJpeg(QByteArrayView file, const std::function<const char*(qint64, qint64)>& checkSize,
                        int scaleEighths)
{
    const auto decoder = std::make_unique<Decoder>();
    Decoder* d = decoder.get();
    d->info.err = jpeg_std_error(&d->errors);
    d->errors.error_exit = onFatalError;
    d->errors.emit_message = onMessage;
    d->info.client_data = d;
    if (setjmp(d->failed)) {
        d->result.image = QImage();
        d->result.failure = "JPEG decoder failed";
        return d->result;
    }
    jpeg_create_decompress(&d->info);
    d->created = true;
    jpeg_mem_src(&d->info, reinterpret_cast<const unsigned char*>(file.data()), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&d->info, TRUE);
    if ((d->result.failure = checkSize(d->info.image_width, d->info.image_height)))
        return d->result;
    // The layout of QImage::Format_RGB32 in memory.
    d->info.out_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    d->info.scale_num = static_cast<unsigned>(std::clamp(scaleEighths, 1, 16));
    d->info.scale_denom = 8;
    jpeg_start_decompress(&d->info);
    d->result.image = QImage(int(d->info.output_width), int(d->info.output_height), QImage::Format_RGB32);
    if (d->result.image.isNull()) {
        d->result.failure = "no memory for the picture";
        return d->result;
    }
    while (d->info.output_scanline < d->info.output_height) {
        JSAMPROW row = d->result.image.scanLine(int(d->info.output_scanline));
        jpeg_read_scanlines(&d->info, &row, 1);
    }
    jpeg_finish_decompress(&d->info);
    return d->result;
}

}  // namespace pairly
