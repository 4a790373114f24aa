#include "fx/host.h"

namespace fx {

Host* Host::current_ = nullptr;

Host::Host() : previous_(current_) { current_ = this; }

Host::~Host() {
    if (current_ == this) current_ = previous_;
}

Host* Host::instance() { return current_; }

}  // namespace fx
