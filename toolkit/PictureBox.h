// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Image.h"

#include <QFrame>
#include <memory>
#include <optional>

namespace kvistra {

// The canvas: a picture box in pixel units over an exact 24-bit persistent image
// (the background picture and everything drawn on it), inside a sunken frame
// that shows the keyboard focus.
class PictureBox : public QFrame {
    Q_OBJECT

public:
    static constexpr int kFrameWidth = 2;

    explicit PictureBox(QSize innerSize, QWidget* parent = nullptr);

    // The scale width and height: the inner size in pixels.
    int scaleWidth() const { return image_->width(); }
    int scaleHeight() const { return image_->height(); }

    const Image& image() const { return *image_; }
    // The surface to draw on. A snapshot taken before keeps the pixels it shared
    // with the surface: they are copied only now, and only while a snapshot holds them.
    Image& surfaceToDrawOn();
    // The surface as it is now, sharing its pixels until the next drawing.
    std::shared_ptr<const Image> snapshot() const { return image_; }

    // Placed at the top-left corner at its own size; cut off at the canvas's
    // edges unless the canvas follows the picture's size.
    void setPicture(Image picture);
    // No picture, and the drawing surface cleared to white.
    void clear();
    // The size of the picture held, whole, however much of it the surface shows.
    std::optional<QSize> pictureSize() const;

    bool autoSize() const { return autoSize_; }
    // On: the canvas takes the size of the picture it holds.
    void setAutoSize(bool on);

signals:
    // Pointer position in canvas pixels, only over the drawing surface.
    void mouseMoved(float x, float y);
    void doubleClicked();
    // The scale width or height may have changed.
    void sizeChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void fitToSurface();

    // The opened picture while the surface shows only part of it.
    std::optional<Image> picture_;
    std::optional<QSize> pictureSize_;
    std::shared_ptr<Image> image_;
    bool autoSize_ = false;
};

} // namespace kvistra
