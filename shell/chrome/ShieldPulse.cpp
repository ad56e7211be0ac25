#include "chrome/ShieldPulse.h"

namespace nimb {

bool ShieldPulse::rise() {
    bool idle = !running();
    m_flash = 1;
    return idle;
}

bool ShieldPulse::advance() {
    m_flash -= fade;
    // Thirty steps of a thirtieth do not add up to exactly 1 in binary: what is left of the last
    // is nothing.
    if (m_flash <= fade / 2) m_flash = 0;
    return running();
}

} // namespace nimb
