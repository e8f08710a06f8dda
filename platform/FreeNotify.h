#pragma once
// Listeners that an object tells when it goes away, so that those holding a
// reference to it (a view its style component, a list style its image list)
// can forget it. The key names the listener for removal.
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

template <class T> class TFreeNotifications {
public:
    void Add(const void* Key, std::function<void(T*)> OnFree) {
        Remove(Key);
        m_listeners.emplace_back(Key, std::move(OnFree));
    }
    void Remove(const void* Key) {
        m_listeners.erase(std::remove_if(m_listeners.begin(), m_listeners.end(),
                                         [Key](const auto& l) { return l.first == Key; }),
                          m_listeners.end());
    }
    // From the destructor of Freed.
    void Notify(T* Freed) {
        // Listeners may remove themselves while being told.
        auto listeners = std::move(m_listeners);
        m_listeners.clear();
        for (auto& l : listeners)
            if (l.second) l.second(Freed);
    }

private:
    std::vector<std::pair<const void*, std::function<void(T*)>>> m_listeners;
};
