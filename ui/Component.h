// TComponent: the root of the window layer; an owner keeps and frees the components it owns.
// Owned components are freed in reverse order of creation when the owner goes away.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace pelorin {

class TComponent {
public:
    TComponent() = default;
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    std::string Name;

    // Creates a component owned by this one; it lives until this one frees it.
    template <typename T, typename... Args>
    T& Own(Args&&... args) {
        auto owned = std::make_unique<T>(std::forward<Args>(args)...);
        T& ref = *owned;
        components_.push_back(std::move(owned));
        return ref;
    }

    std::size_t ComponentCount() const { return components_.size(); }

protected:
    // Frees every owned component, last created first.
    void DestroyComponents();

private:
    std::vector<std::unique_ptr<TComponent>> components_;
};

}  // namespace pelorin
