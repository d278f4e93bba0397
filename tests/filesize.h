// For tests of a disk that fills: while a FileSizeLimit lives, no file of
// this process may grow beyond the given size, so a write fails part of the
// way through (EFBIG, the signal SIGXFSZ ignored) as on a full disk.
#pragma once

#include <csignal>

#include <sys/resource.h>

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        if (getrlimit(RLIMIT_FSIZE, &saved_) != 0) return;
        handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved_;
        small.rlim_cur = bytes;
        set_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
        if (!set_) std::signal(SIGXFSZ, handler_);
    }
    ~FileSizeLimit()
    {
        if (!set_) return;
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, handler_);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool set() const { return set_; }

private:
    rlimit saved_{};
    void (*handler_)(int) = SIG_DFL;
    bool set_ = false;
};
