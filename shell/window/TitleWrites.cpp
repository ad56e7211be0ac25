#include "window/TitleWrites.h"

namespace nimb {

void TitleWrites::changed(const std::string& address, const std::string& title, Write write,
                          std::chrono::milliseconds interval) {
    // A title of another page first lands what waited for the old one.
    if (m_throttle.waiting() && m_address != address) m_throttle.flush();
    m_address = address;
    m_throttle.setInterval(interval);
    m_throttle.run([address, title, write = std::move(write)] { write(address, title); });
}

} // namespace nimb
