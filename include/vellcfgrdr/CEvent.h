#pragma once

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

namespace vellcfgrdr {

// A synchronous event: handlers run on the raising thread, in the order they
// subscribed, before Raise returns.
template <class... Args>
class CEvent {
  public:
    using Handler = std::function<void(Args...)>;

    // Returns a token for Unsubscribe.
    size_t Subscribe(Handler handler) {
        handlers_.emplace_back(++lastToken_, std::move(handler));
        return lastToken_;
    }
    void Unsubscribe(size_t token) {
        std::erase_if(handlers_, [token](const auto& h) { return h.first == token; });
    }
    void Clear() { handlers_.clear(); }
    bool Empty() const noexcept { return handlers_.empty(); }

    void Raise(Args... args) const {
        // By index: a handler may subscribe further handlers.
        for (size_t i = 0; i < handlers_.size(); ++i)
            handlers_[i].second(args...);
    }

  private:
    std::vector<std::pair<size_t, Handler>> handlers_;
    size_t lastToken_ = 0;
};

}  // namespace vellcfgrdr
