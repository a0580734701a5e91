// Owners for what TDDE hands out: string handles, conversations and requested data.
// Each gives its value back through the TDDE on every way out; none may outlive that TDDE.
#pragma once

#include <utility>

#include "setup/install/DDEInt.h"

namespace pelorin {

namespace dde_release {

struct StringHandle {
    using Type = HSZ;
    static void release(const TDDE& dde, HSZ& handle) noexcept { dde.FreeStringHandle(handle); }
};

struct Conversation {
    using Type = HCONV;
    static void release(const TDDE& dde, HCONV& conversation) noexcept { dde.Disconnect(conversation); }
};

struct RequestData {
    using Type = TDDEData;
    static void release(const TDDE& dde, TDDEData& data) noexcept {
        dde.UnaccessData(data.Handle);
        data = TDDEData{};
    }
};

}  // namespace dde_release

// DdeOwner<Traits>: adopts one value that a TDDE call returned.
//   const DdeStringHandle service(dde, dde.CreateStringHandle("PROGMAN"));
template <typename Traits>
class DdeOwner {
public:
    using Type = typename Traits::Type;

    DdeOwner(const TDDE& dde, Type value) noexcept : dde_(&dde), value_(value) {}
    ~DdeOwner() { Traits::release(*dde_, value_); }
    DdeOwner(DdeOwner&& other) noexcept : dde_(other.dde_), value_(std::exchange(other.value_, Type{})) {}
    DdeOwner(const DdeOwner&) = delete;
    DdeOwner& operator=(const DdeOwner&) = delete;
    DdeOwner& operator=(DdeOwner&&) = delete;

    const Type& get() const noexcept { return value_; }

private:
    const TDDE* dde_;
    Type value_;
};

using DdeStringHandle = DdeOwner<dde_release::StringHandle>;
using DdeConversation = DdeOwner<dde_release::Conversation>;
using DdeRequestData = DdeOwner<dde_release::RequestData>;

}  // namespace pelorin
