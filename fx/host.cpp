#include "fx/host.h"

namespace fx {

Host* Host::current_ = nullptr;

Host::Host() { current_ = this; }

Host::~Host() {
    if (current_ == this) current_ = nullptr;
}

Host* Host::instance() { return current_; }

}  // namespace fx
