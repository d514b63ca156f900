// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/stored_picture.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

namespace {

// The decoders' own warnings would drown the fuzzer's output.
void dropMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qInstallMessageHandler(dropMessages);
    // Image format plugins are found through the application's library paths.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const pairly::PictureRef stored = pairly::decodeStoredPicture(bytes);
    if (stored && stored->image.isNull())
        __builtin_trap();
    // The same bytes as a bare image file reach the format checks directly.
    pairly::decodeImageFile(bytes);
    return 0;
}
