#include "ui/window_icon.h"

#include <QImage>
#include <QPixmap>

#include "ui/icon_pixels.h"

namespace ui {

QIcon windowIcon() {
    QIcon icon;
    for (const IconPicture& picture : kIconPictures) {
        const QImage image(reinterpret_cast<const uchar*>(picture.argb), picture.size, picture.size,
                           QImage::Format_ARGB32);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace ui
