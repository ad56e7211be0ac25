#include "base/Identifier.h"

#include <uuid/uuid.h>

namespace nimb {

std::string makeIdentifier() {
    uuid_t uuid;
    uuid_generate_random(uuid);
    char text[37];
    uuid_unparse_upper(uuid, text);
    return text;
}

} // namespace nimb
