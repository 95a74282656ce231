#pragma once

#include "count_surface.h"
#include "startup/settings_file.h"

#include <QPointer>
#include <QTimer>

class QWidget;

namespace quennix {

class WindowSwitcher;

// What the two display windows have in common: the count surface, the place
// and size of the outer frame in twips, the font, dragging, and saving the
// settings when closed. Form1 and Form2 add their frame and menus.
//
// Qt places a window by its frame but sizes it by its client area, and the
// frame is only known once the window manager has framed the window. A size
// set in twips is therefore held as wanted and applied again as soon as the
// frame is known, so a window closed and reopened comes back to exactly the
// same outer place and size.
class DisplayWindow : public SurfaceOwner {
public:
    DisplayWindow(QWidget &self, AppState &state, Services &services, WindowSwitcher &switcher);
    ~DisplayWindow() override;

    virtual QString tag() const = 0;
    QWidget &widget() { return self_; }
    CountSurface &surface() { return *surface_; }
    const CountSurface &surface() const { return *surface_; }

    // Outer frame, in twips.
    double top() const;
    double left() const;
    double height() const;
    double width() const;
    void setTop(double twips);
    void setLeft(double twips);
    void setHeight(double twips);
    void setWidth(double twips);
    // The outer frame in logical pixels, and moving it there.
    QRect outerGeometry() const;
    void moveOuterTo(const QPoint &px) { self_.move(px); }

    QString fontName() const { return surface_->fontName(); }
    void setFontName(const QString &name) { surface_->setFontName(name); }
    double fontSize() const { return surface_->fontSize(); }
    bool fontBold() const { return surface_->fontBold(); }
    void setFontBold(bool bold) { surface_->setFontBold(bold); }
    bool fontItalic() const { return surface_->fontItalic(); }
    void setFontItalic(bool italic) { surface_->setFontItalic(italic); }

    // What the settings file records for this window.
    WindowSettings settings() const;

    // Dragging with the left button: the window jumps once, at release, by
    // the distance the pointer travelled.
    void Form_MouseDown(int button, double x, double y) override;
    void Form_MouseMove(int buttons, double x, double y) override;
    void Form_MouseUp(int button, double x, double y) override;
    // Swaps this window for the other kind, in place.
    void Form_DblClick() override;

    // The window is closing, for whatever reason: save the settings.
    void Form_QueryUnload();
    bool dragActive() const { return dragActive_ != 0; }

protected:
    // Builds the surface; the window puts it where it belongs.
    CountSurface *createSurface(QWidget *parent);
    // Runs the window's load handler, reporting a failure in a box titled
    // "<name>_Load" and skipping the rest of it.
    void runLoad(const QString &name, const std::function<void()> &steps);
    // Called by the window when it is shown: the window manager frames it now,
    // so the wanted outer size is applied again as the frame becomes known.
    void frameMayHaveChanged();
    // "Seconds to " and the base time: the framed window's caption when it
    // opens. Throws RunError for a base time that is not a date.
    QString loadCaption() const;

    AppState &state_;
    Services &services_;
    WindowSwitcher &switcher_;

private:
    QMargins frameMargins() const;
    // The outer size asked for, but never smaller than the window's minimum.
    QSize wantedOuterSize() const;
    void applyWantedSize();
    double dpiX() const;
    double dpiY() const;

    QWidget &self_;
    CountSurface *surface_ = nullptr;
    // The outer size asked for, until the frame is known and it is applied.
    std::optional<QSize> wantedOuterSize_;
    QTimer settleTimer_;
    int settleChecks_ = 0;

    qint32 dragActive_ = 0;
    qint32 dragStartX_ = 0, dragStartY_ = 0;
    qint32 dragLastX_ = 0, dragLastY_ = 0;
};

} // namespace quennix
