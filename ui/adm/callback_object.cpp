#include "ui/adm/callback_object.h"

#include <algorithm>

namespace ADM {

void CallbackObject::disconnect(const void* receiver) {
    std::erase_if(handlers_, [receiver](const Handler& h) { return h.receiver == receiver; });
}

void CallbackObject::notify(CallbackObject& sender, const char* name, void* data) {
    // Handlers connected while notifying wait for the next notification; each handler is
    // copied before the call because a handler may connect others and grow the table.
    const size_t count = handlers_.size();
    for (size_t i = 0; i < count && i < handlers_.size(); ++i) {
        if (handlers_[i].name != name) continue;
        const auto call = handlers_[i].call;
        call(sender, data);
    }
}

}  // namespace ADM
