#include "platform/Capture.h"

#include "platform/Forms.h"

#include <QPixmap>
#include <QWidget>

QImage ControlPicture(const TControl* control) {
    QWidget* w = control ? control->Widget() : nullptr;
    if (!w || w->width() <= 0 || w->height() <= 0) return QImage();
    // At one pixel per logical pixel, whatever the screen's scale.
    QImage picture(w->size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    w->render(&picture);
    return picture;
}
