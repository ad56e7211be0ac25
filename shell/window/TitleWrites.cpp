#include "window/TitleWrites.h"

namespace nimb {

void TitleWrites::changed(std::string address, std::string title, Write write,
                          std::chrono::milliseconds interval) {
    // A title of another page first lands what waited for the old one.
    if (m_pending && m_pending->address != address) flush();
    m_pending = Pending{std::move(address), std::move(title), std::move(write)};
    if (m_timer.pending()) return;
    auto since = std::chrono::steady_clock::now() - m_last;
    if (since >= interval) {
        flush();
        return;
    }
    auto wait = std::chrono::ceil<std::chrono::milliseconds>(interval - since);
    m_timer = glib::Source::timeout(wait, [this] { flush(); });
}

void TitleWrites::flush() {
    m_timer.cancel();
    if (!m_pending) return;
    Pending due = std::move(*m_pending);
    m_pending.reset();
    m_last = std::chrono::steady_clock::now();
    if (due.write) due.write(due.address, due.title);
}

} // namespace nimb
