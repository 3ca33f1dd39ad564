#pragma once
// Integer rectangle of the system library: low x, low y, high x, high y.

namespace VelSys {

template <class T>
struct ql_rectangle {
    T lowX{};
    T lowY{};
    T highX{};
    T highY{};

    bool isEmpty() const { return highX <= lowX || highY <= lowY; }
    bool operator==(const ql_rectangle&) const = default;
};

}  // namespace VelSys
