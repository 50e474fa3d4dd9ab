// The stand-in driver's board: the model fed by every entry-point call, its
// protocol faults on standard error, its state published to the monitor
// (Linux), and the snapshot written when TAVRIND_SNAPSHOT names a file.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <type_traits>

#include "sim/board_model.hpp"

namespace sim {

// One per loaded library, made at load: it says then that the board is virtual.
class VirtualBoard {
public:
    VirtualBoard();
    ~VirtualBoard();

    template <typename... Arguments>
    void Receive(Entry entry, const std::tuple<Arguments...>& arguments) {
        Before(entry);
        if constexpr ((std::is_pointer_v<Arguments> || ...)) {
            After(model_.ReceiveLayout(std::get<0>(arguments)));
        } else {
            const auto values = std::apply(
                [](auto... value) { return std::array<std::int32_t, sizeof...(value)>{value...}; }, arguments);
            After(model_.Receive(entry, values));
        }
    }

private:
    void Before(Entry entry);
    void After(const std::string& fault);

    BoardModel model_;
    struct Link;  // the monitor's view, where there is one
    std::unique_ptr<Link> link_;
};

}  // namespace sim
