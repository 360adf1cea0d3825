#include "qt/window_icon.h"

#include <QImage>
#include <QPixmap>

#include "qt/icon_pixels.h"

namespace qt {

QIcon windowIcon() {
    QIcon icon;
    for (const IconPicture& picture : kIconPictures) {
        const QImage image(reinterpret_cast<const uchar*>(picture.argb), picture.size, picture.size,
                           QImage::Format_ARGB32);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace qt
