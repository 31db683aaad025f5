#include <iomanip>

#include "tests/support/store_harness.h"

namespace p2pb {

std::ostream& operator<<(std::ostream& os, const RawValue& v) {
    os << "type " << v.type << " [";
    for (unsigned char b : v.bytes) os << ' ' << std::hex << std::setw(2) << std::setfill('0') << int(b);
    return os << std::dec << " ]";
}

}  // namespace p2pb

namespace p2pb::test {
namespace {

class MemoryHarness final : public StoreHarness {
public:
    PolicyStore& store() override { return store_; }
    bool createKey(std::string_view keyPath) override { return store_.createKey(keyPath); }
    bool setRaw(std::string_view keyPath, std::string_view name, const RawValue& value) override {
        return store_.setRaw(keyPath, name, value);
    }
    std::optional<RawValue> getRaw(std::string_view keyPath, std::string_view name) override {
        return store_.getRaw(keyPath, name);
    }
    bool keyExists(std::string_view keyPath) override { return store_.keyExists(keyPath); }
    TreeSnapshot snapshot() override { return store_.snapshot(); }
    bool denyWrites(std::string_view keyPath) override {
        store_.denyWrites(keyPath);
        return true;
    }

private:
    MemoryStore store_;
};

}  // namespace

std::unique_ptr<StoreHarness> makeMemoryHarness() { return std::make_unique<MemoryHarness>(); }

}  // namespace p2pb::test
