// A table of named-notification handlers: a receiver connects one of its member functions
// under a name, and notify runs every handler of that name in the order they were connected.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

namespace ADM {

class CallbackObject {
public:
    CallbackObject() = default;
    CallbackObject(const CallbackObject&) = delete;
    CallbackObject& operator=(const CallbackObject&) = delete;
    virtual ~CallbackObject() = default;

    // name must be one of the shared constants of notification_names.h: names are matched
    // by address, so a copy of the same characters is a different name.
    template <typename Receiver>
    void connect(const char* name, Receiver* receiver, void (Receiver::*method)(CallbackObject& sender, void* data)) {
        handlers_.push_back({name, receiver, [receiver, method](CallbackObject& sender, void* data) {
                                 (receiver->*method)(sender, data);
                             }});
    }
    // Removes every handler of one receiver, for receivers that die before the sender.
    void disconnect(const void* receiver);
    void notify(CallbackObject& sender, const char* name, void* data = nullptr);

private:
    struct Handler {
        const char* name;
        const void* receiver;
        std::function<void(CallbackObject&, void*)> call;
    };
    std::vector<Handler> handlers_;
};

}  // namespace ADM
