#pragma once

#include <array>
#include <cstddef>
#include <functional>

// Called after any view field took a new value.
void viewFieldChanged();

// A window that shows view fields, for its life: it is told of every change, so it lays
// itself out again when the game moved something and at no other time.
class ViewFieldWatch {
public:
    explicit ViewFieldWatch(std::function<void()> onChange);
    ~ViewFieldWatch();
    ViewFieldWatch(const ViewFieldWatch&) = delete;
    ViewFieldWatch& operator=(const ViewFieldWatch&) = delete;

private:
    friend void viewFieldChanged();
    std::function<void()> onChange_;
};

// A value the window shows (a control's place or visibility): reads as the plain value,
// and a new value tells the watching windows.
template <typename T> class ViewField {
public:
    ViewField(T v = T{}) : v_(v) {}
    ViewField(const ViewField&) = default;
    ViewField& operator=(const ViewField& other) { return *this = other.v_; }
    ViewField& operator=(T v) {
        if (v != v_) {
            v_ = v;
            viewFieldChanged();
        }
        return *this;
    }
    ViewField& operator+=(T d) { return *this = v_ + d; }
    ViewField& operator-=(T d) { return *this = v_ - d; }
    operator T() const { return v_; }

private:
    T v_;
};

// A row of view fields reads as a row of its plain values.
template <typename T, std::size_t N>
bool operator==(const std::array<ViewField<T>, N>& fields, const std::array<T, N>& values) {
    for (std::size_t i = 0; i < N; ++i) {
        if (static_cast<T>(fields[i]) != values[i]) {
            return false;
        }
    }
    return true;
}
