#include "layout/TabStrip.h"

#include "base/Text.h"
#include "base/Url.h"
#include "location/LocationBar.h"
#include "vocabulary/Language.h"

#include <algorithm>
#include <cmath>

namespace nimb::TabStrip {

namespace {

// A count worked out in points, as a whole number between `low` and `high`. Anything that is not a
// number (a zero width divided by zero) counts as `low`.
std::int64_t countBetween(double value, std::int64_t low, std::int64_t high) {
    if (!(value > static_cast<double>(low))) return low;
    if (value >= static_cast<double>(high)) return high;
    return static_cast<std::int64_t>(value);
}

// "www." followed by something more, in any letter case.
bool hasDroppableWww(std::string_view host) {
    return host.size() > 4 && text::asciiLowercased(host.substr(0, 4)) == "www.";
}

std::optional<std::string> internalPageWord(std::string_view address) {
    if (address == LocationBar::aboutHome) return words().home();
    if (address == LocationBar::aboutBookmarks) return words().bookmarks();
    if (address == LocationBar::aboutHistory) return words().history();
    if (address == LocationBar::aboutReport) return words().nimbReport();
    if (address == LocationBar::aboutReports) return words().savedReports();
    return std::nullopt;
}

} // namespace

std::string untitled() {
    return words().untitled();
}

std::string label(std::optional<std::string_view> title, std::optional<std::string_view> address) {
    std::string_view trimmedTitle = text::trimmed(title.value_or(std::string_view()));
    if (!trimmedTitle.empty()) return std::string(trimmedTitle);

    std::string_view trimmedAddress = text::trimmed(address.value_or(std::string_view()));
    if (trimmedAddress.empty()) return untitled();
    if (auto word = internalPageWord(trimmedAddress)) return *word;

    auto url = Url::parse(trimmedAddress);
    if (!url) return std::string(trimmedAddress);
    std::string host = LocationBar::writtenHost(*url);
    if (host.empty()) return std::string(trimmedAddress);
    if (hasDroppableWww(host)) host.erase(0, 4);
    return host;
}

std::string tip(std::string_view label, std::optional<std::string_view> address) {
    std::string tip(label);
    if (!address) return tip;
    std::string resting = LocationBar::restingLabel(*address);
    if (!resting.empty() && resting != label) {
        tip += '\n';
        tip += resting;
    }
    return tip;
}

std::optional<std::int64_t> selection(std::int64_t after, std::int64_t current, std::int64_t count) {
    if (after < 0 || after >= count || count < 2) return std::nullopt;
    std::int64_t next = current;
    if (after < current)
        next = current - 1;
    else if (after == current && current > count - 2)
        next = count - 2;
    // With a current index outside the tabs the rules above could point past the remaining ones.
    return std::clamp<std::int64_t>(next, 0, count - 2);
}

std::vector<double> widths(std::int64_t count, double available, double maximum, double minimum) {
    if (count < 1 || !(available > 0)) return {};
    auto n = static_cast<std::size_t>(count);
    double each = available / static_cast<double>(count);
    if (each >= maximum) return std::vector<double>(n, maximum);
    if (each <= minimum) return std::vector<double>(n, minimum);
    if (!std::isfinite(available)) return std::vector<double>(n, maximum);

    auto whole = static_cast<std::int64_t>(std::floor(available));
    std::int64_t base = whole / count;
    std::int64_t extra = whole - base * count;
    std::vector<double> result;
    result.reserve(n);
    for (std::int64_t k = 0; k < count; ++k)
        result.push_back(static_cast<double>(k < extra ? base + 1 : base));
    return result;
}

Range visible(std::int64_t count, double room, std::int64_t current, double caret, double minimum) {
    if (count < 1 || !(room > 0)) return {0, 0};
    double fit = std::floor(room / minimum);
    if (fit >= static_cast<double>(count)) return {0, count};
    if (fit <= 0 && count <= 1) return {0, 1};

    std::int64_t shown = countBetween(std::floor((room - caret) / minimum), 1, count);
    // A current index below 0 starts the row at 0 either way.
    std::int64_t last = std::clamp<std::int64_t>(current, 0, count - 1);
    std::int64_t start = std::clamp<std::int64_t>(last - shown + 1, 0, count - shown);
    return {start, start + shown};
}

Band band(std::int64_t count, std::int64_t current, double room, double icon, double field,
          double fieldMinimum, double caret) {
    if (count < 1 || !(room > 0)) return {};
    std::int64_t fieldIndex = std::clamp<std::int64_t>(current, 0, count - 1);

    double fits = std::floor((room - fieldMinimum) / icon);
    std::int64_t others = 0;
    bool overflowing = false;
    if (count == 1) {
        others = 0;
    } else if (fits >= 0 && fits >= static_cast<double>(count - 1)) {
        others = count - 1;
    } else {
        overflowing = true;
        others = countBetween(std::floor((room - caret - fieldMinimum) / icon), 0, count - 1);
    }

    std::int64_t shownCount = others + 1;
    std::int64_t start = std::clamp<std::int64_t>(fieldIndex - shownCount + 1, 0, count - shownCount);
    Range shown{start, start + shownCount};

    double fieldWidth = room - static_cast<double>(others) * icon - (overflowing ? caret : 0);
    fieldWidth = std::max(0.0, std::min(fieldWidth, field));

    std::vector<double> widths;
    widths.reserve(static_cast<std::size_t>(shownCount));
    for (std::int64_t index = shown.lowerBound; index < shown.upperBound; ++index)
        widths.push_back(index == fieldIndex ? std::floor(fieldWidth) : icon);
    return {shown, std::move(widths), overflowing};
}

// Layout

namespace {

// The tab drawn as the field in stealth.
std::int64_t fieldIndex(const Layout& layout) {
    return layout.count < 1 ? -1 : std::clamp<std::int64_t>(layout.current, 0, layout.count - 1);
}

// The tab followed by the gap: the field in stealth, else the current tab.
std::int64_t gapIndex(const Layout& layout) {
    return layout.stealth ? fieldIndex(layout) : layout.current;
}

} // namespace

double Layout::room() const {
    return std::max(0.0, width - leftInset - rightInset - newSlot - newGap - gapAfterCurrent);
}

Range Layout::shown() const {
    if (stealth) return band().shown;
    return visible(count, room(), current, caretWidth, minimumWidth);
}

Band Layout::band() const {
    return TabStrip::band(count, current, room(), iconWidth, fieldWidth, fieldMinimum, caretWidth);
}

std::vector<Rect> Layout::tabFrames() const {
    Range range;
    std::vector<double> sizes;
    if (stealth) {
        Band row = band();
        range = row.shown;
        sizes = std::move(row.widths);
    } else {
        range = shown();
        double available = room() - (range.count() < count ? caretWidth : 0);
        sizes = widths(range.count(), available, maximumWidth, minimumWidth);
        // In a room narrower than the caret there is nothing left to share, yet one tab is still
        // shown: it keeps the minimum width rather than vanishing from the row and from the
        // hidden ones alike.
        sizes.resize(static_cast<std::size_t>(range.count()), minimumWidth);
    }

    std::vector<Rect> frames;
    frames.reserve(sizes.size());
    double x = leftInset;
    std::int64_t gapAfter = gapIndex(*this);
    for (std::int64_t index = range.lowerBound; index < range.upperBound; ++index) {
        double size = sizes[static_cast<std::size_t>(index - range.lowerBound)];
        frames.push_back({x, 0, size, height});
        x += size;
        if (index == gapAfter) x += gapAfterCurrent;
    }
    return frames;
}

std::optional<Rect> Layout::frame(std::int64_t index) const {
    Range range = shown();
    if (!range.contains(index)) return std::nullopt;
    return tabFrames()[static_cast<std::size_t>(index - range.lowerBound)];
}

double Layout::rowEnd() const {
    Range range = shown();
    std::vector<Rect> frames = tabFrames();
    if (frames.empty()) return leftInset;
    double end = frames.back().maxX();
    if (range.upperBound - 1 == gapIndex(*this)) end += gapAfterCurrent;
    return end;
}

std::optional<Rect> Layout::caretFrame() const {
    if (shown().count() >= count) return std::nullopt;
    return Rect{rowEnd(), 0, caretWidth, height};
}

Rect Layout::newFrame() const {
    double x = rowEnd();
    if (auto caret = caretFrame()) x = caret->maxX();
    x = std::min(x + newSlot, width - rightInset) - newSlot;
    return {x, 0, newBoxWidth, height};
}

Rect Layout::closeBox(const Rect& frame) const {
    if (stealth) {
        double centreX = frame.midX() - stealthCloseOffset;
        double centreY = frame.midY() + stealthCloseOffset;
        return {std::round(centreX - closeBoxSize / 2), std::round(centreY - closeBoxSize / 2), closeBoxSize,
                closeBoxSize};
    }
    return {std::round(frame.minX() + closeBoxInset), std::round(frame.midY() - closeBoxSize / 2),
            closeBoxSize, closeBoxSize};
}

Rect Layout::closeHitArea(const Rect& frame) const {
    Point centre{frame.midX() - stealthCloseOffset, frame.midY() + stealthCloseOffset};
    if (!stealth) {
        Rect box = closeBox(frame);
        centre = {box.midX(), box.midY()};
    }
    return {std::floor(centre.x - closeHitSize / 2), std::floor(centre.y - closeHitSize / 2), closeHitSize,
            closeHitSize};
}

bool Layout::hasCloseBox(std::int64_t index, const Rect& frame, std::optional<std::int64_t> hovered) const {
    if (hovered != index) return false;
    if (stealth) return index != fieldIndex(*this);
    return closeBox(frame).maxX() < frame.maxX() - closeBoxMargin;
}

std::optional<std::int64_t> Layout::tabIndex(Point point) const {
    Range range = shown();
    std::vector<Rect> frames = tabFrames();
    for (std::size_t k = 0; k < frames.size(); ++k) {
        if (!frames[k].contains(point)) continue;
        std::int64_t index = range.lowerBound + static_cast<std::int64_t>(k);
        if (stealth && index == fieldIndex(*this)) return std::nullopt;
        return index;
    }
    return std::nullopt;
}

std::vector<std::int64_t> Layout::hiddenTabs() const {
    Range range = shown();
    std::vector<std::int64_t> hidden;
    for (std::int64_t index = 0; index < count; ++index)
        if (!range.contains(index)) hidden.push_back(index);
    return hidden;
}

} // namespace nimb::TabStrip
