// A .bmp from the user's disk or from the printer's symbol slots: read by the
// symbol reader, then shown as the preview pane shows it, every corner pixel
// looked up, and a piece of a huge drawing made. A file is either refused
// with nothing kept, or read into an image every pixel of which can be drawn.
#include <QImage>
#include <QPainter>
#include <QString>

#include "CBitmapPreviewSource.h"
#include "CDibImage.h"
#include "FuzzSupport.h"
#include "ScriptedPorts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string dir = qv7fuzz::ScratchFolder("qv7fuzz-bitmap");
    const std::string path = dir + "/symbol.bmp";
    qv7fuzz::WriteWhole(path, data, size);

    quillory::CDibImage image;
    if (!image.LoadFromFile(QString::fromStdString(path))) {
        if (!image.IsEmpty() || image.info() || image.pixels()) __builtin_trap();
        return 0;
    }
    if (image.width() < 0 || image.height() < 0) __builtin_trap();
    if (image.CanShow() && image.width() > 0 && image.height() > 0) {
        const int right = image.width() - 1;
        const int bottom = image.height() - 1;
        const QRgb corners = image.PixelAt(0, 0) ^ image.PixelAt(right, 0) ^ image.PixelAt(0, bottom) ^
                             image.PixelAt(right, bottom);
        static_cast<void>(corners);
        // A drawing far larger than the screen, of which only a corner is made.
        const QImage piece = image.Render(1 << 30, 1 << 30, QRect((1 << 30) - 7, (1 << 30) - 5, 64, 64));
        if (!piece.isNull() && piece.size() != QSize(7, 5)) __builtin_trap();
    }

    quillorytest::RecordingPrompt prompt;
    quillory::CBitmapPreviewSource preview(prompt);
    preview.Load(QString::fromStdString(path));
    QImage pane(160, 120, QImage::Format_RGB32);
    QPainter painter(&pane);
    preview.Draw(painter, 5, 5, 150, 110);
    return 0;
}
