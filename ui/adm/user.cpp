#include "ui/adm/user.h"

namespace ADM {

User::User(Dialog& dialog, ps::int32 id, const ps::ADMRect& bounds) : Item(dialog, id, ps::kADMUserType, bounds) {}

}  // namespace ADM
