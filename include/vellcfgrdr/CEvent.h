#pragma once

#include <cstddef>
#include <functional>
#include <memory>
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
        handlers_.push_back(std::make_shared<Entry>(++lastToken_, std::move(handler)));
        return lastToken_;
    }
    void Unsubscribe(size_t token) {
        std::erase_if(handlers_, [token](const std::shared_ptr<Entry>& h) {
            if (h->token != token) return false;
            h->active = false;
            return true;
        });
    }
    void Clear() {
        for (const std::shared_ptr<Entry>& h : handlers_)
            h->active = false;
        handlers_.clear();
    }
    bool Empty() const noexcept { return handlers_.empty(); }

    // Handlers may subscribe, unsubscribe and raise again while they run: a
    // raise calls the handlers subscribed when it began, from a copy of the
    // list that keeps each of them alive, and skips those removed meanwhile.
    void Raise(Args... args) const {
        if (handlers_.empty()) return;
        const std::vector<std::shared_ptr<Entry>> current = handlers_;
        for (const std::shared_ptr<Entry>& h : current)
            if (h->active) h->handler(args...);
    }

  private:
    struct Entry {
        Entry(size_t t, Handler h) : token(t), handler(std::move(h)) {}
        size_t token;
        Handler handler;
        bool active = true;
    };

    std::vector<std::shared_ptr<Entry>> handlers_;
    size_t lastToken_ = 0;
};

}  // namespace vellcfgrdr
