#include "layout/WindowLayout.h"

#include <algorithm>
#include <cmath>

namespace nimb::WindowLayout {

namespace {

// A coordinate that is not a number (a size nobody gave) counts as 0.
double finite(double value) {
    return std::isfinite(value) ? value : 0;
}

// The window's own buttons centred vertically in the strip, `margin` from the window's edge.
Rect startControlsFrame(Size size) {
    return {controlsMargin, std::round((stripHeight - size.height) / 2), size.width, size.height};
}

Rect endControlsFrame(Size size, double width) {
    return {width - controlsMargin - size.width, std::round((stripHeight - size.height) / 2), size.width,
            size.height};
}

} // namespace

double windowButtonInset(const std::optional<Rect>& startControls, bool hasEndControls) {
    if (startControls) return startControls->maxX() + controlsClearance;
    return hasEndControls ? controlsClearance : noControlsInset;
}

Rect wellFrame(double width, double left, double right) {
    double wellWidth = std::clamp(width - left - right, wellMinimum, wellMaximum);
    double x = std::round((width - wellWidth) / 2);
    x = std::max(x, left);
    x = std::min(x, std::max(left, width - right - wellWidth));
    return {x, wellTop, wellWidth, wellHeight};
}

std::vector<std::optional<Rect>> bookmarkButtons(const std::vector<double>& titleWidths, double width) {
    std::vector<std::optional<Rect>> buttons;
    buttons.reserve(titleWidths.size());
    double x = bookmarkStart;
    const double y = personalHeight - bookmarkBottom - bookmarkHeight;
    for (double title : titleWidths) {
        double buttonWidth = std::ceil(std::max(0.0, finite(title))) + bookmarkPadding;
        Rect frame{x, y, buttonWidth, bookmarkHeight};
        // A button that does not fit is hidden; those after it are placed on as if it stood there,
        // so the toolbar never shows a later bookmark in an earlier one's place.
        if (frame.maxX() > width - bookmarkEndMargin)
            buttons.emplace_back(std::nullopt);
        else
            buttons.emplace_back(frame);
        x = frame.maxX() + bookmarkGap;
    }
    return buttons;
}

std::optional<double> marginWidth(double width) {
    double m = std::clamp(finite(width) - marginReserve, 0.0, marginMaximum);
    if (m < marginMinimum) return std::nullopt;
    return m;
}

Rect findBar(const Rect& pageArea, double windowHeight, double slide) {
    double shown = std::clamp(finite(slide), 0.0, 1.0);
    return {pageArea.x, windowHeight - findBarHeight * shown, pageArea.width, findBarHeight};
}

WellInterior wellInterior(Size well) {
    WellInterior inside;
    double side = std::max(0.0, well.height);
    inside.shield = {well.width - shieldInset - side, 0, side, side};
    inside.icon = {wellIconX, std::round((well.height - wellIconSize) / 2), wellIconSize, wellIconSize};
    inside.closeHit = {std::floor(inside.icon.midX() - closeHitSize / 2),
                       std::floor(inside.icon.midY() - closeHitSize / 2), closeHitSize, closeHitSize};
    double fieldX = inside.icon.maxX() + wellFieldGap;
    inside.field = {fieldX, std::round((well.height - wellFieldHeight) / 2),
                    std::max(0.0, inside.shield.x - wellFieldEndGap - fieldX), wellFieldHeight};
    return inside;
}

Layout layout(const Window& window) {
    Layout out;
    const double width = std::max(0.0, finite(window.width));
    const double height = std::max(0.0, finite(window.height));
    const std::int64_t navCount = std::max<std::int64_t>(0, window.navButtons);

    // The strip, with the window's own buttons in it.
    out.strip = {0, 0, width, stripHeight};
    if (window.startControls) out.startControls = startControlsFrame(*window.startControls);
    if (window.endControls) out.endControls = endControlsFrame(*window.endControls, width);
    const double buttonInset = windowButtonInset(out.startControls, out.endControls.has_value());
    double rightInset = stripRightInset;
    if (out.endControls) rightInset += width - out.endControls->minX();

    TabStrip::Layout& strip = out.tabStrip;
    strip.width = width;
    strip.height = stripHeight;
    strip.count = std::max<std::int64_t>(0, window.tabs);
    strip.current = window.current;
    strip.stealth = window.stealth;
    strip.rightInset = rightInset;

    if (!window.stealth) {
        strip.leftInset = buttonInset;
        strip.gapAfterCurrent = 0;

        out.bar = Rect{0, stripHeight, width, barHeight};
        double x = navButtonStart;
        for (std::int64_t k = 0; k < navCount; ++k) {
            out.navButtons.push_back(
                {x, stripHeight + std::round((barHeight - navButtonSize) / 2), navButtonSize, navButtonSize});
            x += navButtonSize + navButtonGap;
        }
        double left = navCount > 0 ? out.navButtons.back().maxX() + navButtonGap + wellGap : wellStartAlone;
        Rect well = wellFrame(width, left);
        out.well = {well.x, stripHeight + well.y, well.width, well.height};
        out.wellRadius = 0;
        out.stealthButton = {out.well.maxX() + stealthButtonGap,
                             stripHeight + std::round((barHeight - stealthButtonSize) / 2), stealthButtonSize,
                             stealthButtonSize};

        auto buttons = bookmarkButtons(window.bookmarkTitles, width);
        if (!buttons.empty()) {
            out.personal = Rect{0, out.bar->maxY(), width, personalHeight};
            out.bookmarkButtons = std::move(buttons);
        }
        out.personalBottomLine = out.personal.has_value();
        out.barBottomLine = !out.personal;
        out.stripBottomLine = false;
        out.lowestBand = out.personal ? out.personal->maxY() : out.bar->maxY();
    } else {
        for (std::int64_t k = 0; k < navCount; ++k)
            out.navButtons.push_back({buttonInset + stealthNavStep * static_cast<double>(k), stealthNavTop,
                                      stealthNavSize, stealthNavSize});
        strip.leftInset = buttonInset + stealthNavStep * static_cast<double>(navCount) + stealthNavClearance;
        strip.gapAfterCurrent = stealthGap;

        // The well is the current tab's field. Without a tab to stand in, it stands empty where the
        // first tab would.
        std::int64_t field =
            strip.count > 0 ? std::clamp<std::int64_t>(window.current, 0, strip.count - 1) : 0;
        Rect place = strip.frame(field).value_or(Rect{strip.leftInset, 0, 0, stripHeight});
        out.well = {place.x, pillTop, place.width, pillHeight};
        out.wellRadius = pillRadius;
        double gapMiddle = place.maxX() + stealthGap / 2;
        out.stealthButton = {std::round(gapMiddle - stealthButtonSize / 2), stealthButtonTop,
                             stealthButtonSize, stealthButtonSize};
        out.stripBottomLine = true;
        out.lowestBand = stripHeight;
    }

    // The notice, full width under the bands, takes the page's top (never more than half the window).
    if (window.noticeHeight > 0) {
        double noticeHeight = std::min(window.noticeHeight, std::max(0.0, (height - out.lowestBand) / 2));
        out.notice = Rect{0, out.lowestBand, width, noticeHeight};
        out.lowestBand += noticeHeight;
    }

    // The page area, the margin beside it, and what floats over its foot.
    double pageWidth = width;
    if (window.marginOpen) {
        if (auto m = marginWidth(width)) {
            out.margin = Rect{width - *m, out.lowestBand, *m, std::max(0.0, height - out.lowestBand)};
            pageWidth -= *m;
        }
    }
    out.pageArea = {0, out.lowestBand, pageWidth, std::max(0.0, height - out.lowestBand)};
    out.findBar = findBar(out.pageArea, height, window.findSlide);

    double footY = std::min(out.findBar.y, out.pageArea.maxY()) - footHeight;
    footY = std::max(footY, out.pageArea.y);
    out.progressWell = {std::max(out.pageArea.x, out.pageArea.maxX() - progressMargin - progressWidth), footY,
                        std::min(progressWidth, out.pageArea.width), footHeight};
    out.statusLine = {out.pageArea.x, footY, std::max(0.0, out.progressWell.x - out.pageArea.x), footHeight};
    return out;
}

} // namespace nimb::WindowLayout
