#include "page/OpenAllowance.h"

namespace nimb {

bool OpenAllowance::allow(double now) {
    while (!m_opened.empty() && (now - m_opened.front() >= 1.0 || now < m_opened.front()))
        m_opened.pop_front();
    if (m_opened.size() >= m_perSecond) return false;
    m_opened.push_back(now);
    return true;
}

} // namespace nimb
