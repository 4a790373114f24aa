// RAII guards over the host's acquire/release and lock/unlock pairs.
#pragma once

#include "host/host_errors.h"
#include "sdk/pi_filter.h"
#include "sdk/sp_basic.h"

// A suite acquired from the host's basic suite for the life of the guard.
template <class Suite>
class AcquiredSuite {
public:
    AcquiredSuite(const ps::SPBasicSuite* basic, const char* name, ps::int32 version)
        : basic_(basic), name_(name), version_(version) {
        if (!basic_ || !basic_->AcquireSuite) {
            error_ = ps::kSPSuiteNotFoundError;
            return;
        }
        const void* suite = nullptr;
        error_ = basic_->AcquireSuite(name, version, &suite);
        if (error_ == ps::kSPNoError && suite)
            suite_ = static_cast<const Suite*>(suite);
        else if (error_ == ps::kSPNoError)
            error_ = ps::kSPSuiteNotFoundError;
    }
    ~AcquiredSuite() {
        if (suite_) basic_->ReleaseSuite(name_, version_);
    }
    AcquiredSuite(const AcquiredSuite&) = delete;
    AcquiredSuite& operator=(const AcquiredSuite&) = delete;

    // Raises SuiteError unless the suite was acquired.
    const Suite& required() const {
        if (!suite_) throw SuiteError{error_};
        return *suite_;
    }
    explicit operator bool() const { return suite_ != nullptr; }
    const Suite* operator->() const { return suite_; }
    ps::SPErr error() const { return error_; }

private:
    const ps::SPBasicSuite* basic_;
    const char* name_;
    ps::int32 version_;
    const Suite* suite_ = nullptr;
    ps::SPErr error_ = ps::kSPNoError;
};

// A host handle locked for the life of the guard.
class HandleLock {
public:
    HandleLock(const ps::HandleProcs* procs, ps::Handle handle) : procs_(procs), handle_(handle) {
        if (procs_ && handle_ && procs_->lockProc) data_ = procs_->lockProc(handle_, true);
    }
    ~HandleLock() {
        if (data_ && procs_->unlockProc) procs_->unlockProc(handle_);
    }
    HandleLock(const HandleLock&) = delete;
    HandleLock& operator=(const HandleLock&) = delete;

    explicit operator bool() const { return data_ != nullptr; }
    char* data() const { return data_; }
    // The handle's size in bytes (0 when the host cannot tell).
    size_t size() const {
        if (!procs_ || !procs_->getSizeProc) return 0;
        const ps::int32 size = procs_->getSizeProc(handle_);
        return size > 0 ? size_t(size) : 0;
    }

private:
    const ps::HandleProcs* procs_;
    ps::Handle handle_;
    char* data_ = nullptr;
};

// A host handle disposed of when the guard ends, unless released.
class OwnedHandle {
public:
    OwnedHandle(const ps::HandleProcs* procs, ps::Handle handle) : procs_(procs), handle_(handle) {}
    ~OwnedHandle() {
        if (handle_ && procs_ && procs_->disposeProc) procs_->disposeProc(handle_);
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    ps::Handle get() const { return handle_; }
    ps::Handle release() {
        ps::Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }

private:
    const ps::HandleProcs* procs_;
    ps::Handle handle_;
};
