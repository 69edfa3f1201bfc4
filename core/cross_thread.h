#pragma once
// A value read and written by both threads. Copying takes a snapshot, so the records
// that hold such values stay plain and can be reset by assignment.

#include <atomic>

namespace orv {

template <class T>
class CrossThread {
public:
    CrossThread() = default;
    CrossThread(T value) : value_(value) {}  // NOLINT: reads like the plain value it wraps
    CrossThread(const CrossThread& other) : value_(other.load()) {}
    CrossThread& operator=(const CrossThread& other) {
        store(other.load());
        return *this;
    }
    CrossThread& operator=(T value) {
        store(value);
        return *this;
    }
    operator T() const { return load(); }  // NOLINT
    T load() const { return value_.load(); }
    void store(T value) { value_.store(value); }
    T exchange(T value) { return value_.exchange(value); }
    // For readers that must not block or allocate, such as the crash report.
    const std::atomic<T>& raw() const { return value_; }

private:
    std::atomic<T> value_{};
};

}  // namespace orv
