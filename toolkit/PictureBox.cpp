// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureBox.h"

#include "FocusFrame.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cstring>

namespace kvistra {

namespace {

// Copies the overlap of two pictures, anchored at their top-left corners.
void copyTopLeft(const Image& from, Image& to) {
    const int width = std::min(from.width(), to.width());
    const int height = std::min(from.height(), to.height());
    const std::size_t bytes = static_cast<std::size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        std::memcpy(to.row(y).data(), from.row(y).data(), bytes);
    }
}

} // namespace

PictureBox::PictureBox(QSize innerSize, QWidget* parent)
    : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kFrameWidth);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    image_ = std::make_shared<Image>(innerSize.width(), innerSize.height());
    fitToSurface();
}

Image& PictureBox::surfaceToDrawOn() {
    if (image_.use_count() > 1) {
        image_ = std::make_shared<Image>(*image_);
    }
    return *image_;
}

void PictureBox::fitToSurface() {
    setFixedSize(image_->width() + 2 * kFrameWidth, image_->height() + 2 * kFrameWidth);
    update();
    emit sizeChanged();
}

void PictureBox::setPicture(Image picture) {
    pictureSize_ = QSize(picture.width(), picture.height());
    if (autoSize_) {
        // The surface is the whole picture: nothing else needs its pixels.
        image_ = std::make_shared<Image>(std::move(picture));
        picture_.reset();
    } else {
        surfaceToDrawOn().fill(kWhite);
        copyTopLeft(picture, *image_);
        picture_ = std::move(picture);
    }
    fitToSurface();
}

void PictureBox::clear() {
    picture_.reset();
    pictureSize_.reset();
    surfaceToDrawOn().fill(kWhite);
    update();
}

std::optional<QSize> PictureBox::pictureSize() const {
    return pictureSize_;
}

void PictureBox::setAutoSize(bool on) {
    autoSize_ = on;
    if (!on || !picture_) {
        return;
    }
    // The picture fills the new size; what was drawn over it stays where it was. The
    // picture becomes the surface rather than being copied: a large one is held once.
    Image surface = std::move(*picture_);
    picture_.reset();
    copyTopLeft(*image_, surface);
    image_ = std::make_shared<Image>(std::move(surface));
    fitToSurface();
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (hasFocus()) {
        paintFocusFrame(*this, frameRect(), kFrameWidth);
    }
    const QRect inside = contentsRect();
    // Only the exposed part: a large canvas shows a small window onto it.
    const QRect exposed = event->rect() & inside;
    if (exposed.isEmpty()) {
        return;
    }
    const QImage view(image_->bytes().data(), image_->width(), image_->height(),
                      static_cast<qsizetype>(image_->stride()), QImage::Format_BGR888);
    QPainter painter(this);
    painter.drawImage(exposed, view, exposed.translated(-inside.topLeft()));
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    const QPointF position = event->position() - contentsRect().topLeft();
    if (position.x() >= 0 && position.y() >= 0 && position.x() < image_->width() &&
        position.y() < image_->height()) {
        emit mouseMoved(static_cast<float>(position.x()), static_cast<float>(position.y()));
    }
    QFrame::mouseMoveEvent(event);
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    emit doubleClicked();
    QFrame::mouseDoubleClickEvent(event);
}

} // namespace kvistra
