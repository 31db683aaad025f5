#include <windows.h>

#include <vector>

#include "policy/registry_store.h"
#include "tests/support/scratch_registry.h"
#include "tests/support/store_harness.h"

namespace p2pb::test {
namespace {

class RegistryHarness final : public StoreHarness {
public:
    PolicyStore& store() override { return store_; }

    bool createKey(std::string_view keyPath) override { return static_cast<bool>(create(keyPath, KEY_READ)); }

    bool setRaw(std::string_view keyPath, std::string_view name, const RawValue& value) override {
        const ScopedKey key = create(keyPath, KEY_SET_VALUE);
        return key && RegSetValueExA(key.get(), std::string(name).c_str(), 0, value.type, value.bytes.data(),
                              static_cast<DWORD>(value.bytes.size())) == ERROR_SUCCESS;
    }

    std::optional<RawValue> getRaw(std::string_view keyPath, std::string_view name) override {
        const ScopedKey key = open(keyPath);
        if (!key) return std::nullopt;
        const std::string valueName(name);
        DWORD type = 0, size = 0;
        if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        RawValue value{type, std::vector<unsigned char>(size)};
        if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, value.bytes.data(), &size) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        value.bytes.resize(size);
        return value;
    }

    bool keyExists(std::string_view keyPath) override { return static_cast<bool>(open(keyPath)); }

    TreeSnapshot snapshot() override {
        TreeSnapshot tree;
        walk(scratch_.root(), std::string(), tree);
        return tree;
    }

    // Leaves the key readable only, by a DACL that allows KEY_READ to everyone
    // and nothing else. False where the access check is not enforced.
    bool denyWrites(std::string_view keyPath) override {
        if (!setDacl(keyPath, KEY_READ)) return false;
        denied_.emplace_back(keyPath);
        ScopedKey probe;
        const LONG rc =
            RegOpenKeyExA(scratch_.root(), std::string(keyPath).c_str(), 0, KEY_SET_VALUE, probe.receive());
        if (rc != ERROR_SUCCESS) probe.release();
        return rc == ERROR_ACCESS_DENIED;
    }

    ~RegistryHarness() override {
        // The scratch key can only be deleted once its keys accept changes again.
        for (const std::string& path : denied_) setDacl(path, KEY_ALL_ACCESS);
    }

private:
    bool setDacl(std::string_view keyPath, REGSAM allowed) {
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = nullptr;
        if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) return false;
        alignas(DWORD) unsigned char aclBuffer[256];
        auto* acl = reinterpret_cast<ACL*>(aclBuffer);
        SECURITY_DESCRIPTOR sd;
        const bool built = InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION) &&
                           AddAccessAllowedAce(acl, ACL_REVISION, allowed, everyone) &&
                           InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) &&
                           SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
        ScopedKey key;
        if (built && RegOpenKeyExA(scratch_.root(), std::string(keyPath).c_str(), 0, WRITE_DAC, key.receive()) !=
                         ERROR_SUCCESS) {
            key.release();
        }
        const bool ok = key && RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
        FreeSid(everyone);
        return ok;
    }

    ScopedKey create(std::string_view keyPath, REGSAM access) {
        ScopedKey key;
        if (RegCreateKeyExA(scratch_.root(), std::string(keyPath).c_str(), 0, nullptr, 0, access, nullptr,
                            key.receive(), nullptr) != ERROR_SUCCESS) {
            key.release();
        }
        return key;
    }

    ScopedKey open(std::string_view keyPath) {
        ScopedKey key;
        if (RegOpenKeyExA(scratch_.root(), std::string(keyPath).c_str(), 0, KEY_READ, key.receive()) !=
            ERROR_SUCCESS) {
            key.release();
        }
        return key;
    }

    static void walk(HKEY key, const std::string& path, TreeSnapshot& tree) {
        auto& values = tree[path];
        char name[16384];
        std::vector<unsigned char> data(1 << 16);
        for (DWORD i = 0;; ++i) {
            DWORD nameSize = sizeof name, type = 0, dataSize = static_cast<DWORD>(data.size());
            if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data.data(), &dataSize) != ERROR_SUCCESS) {
                break;
            }
            values.emplace(std::string(name, nameSize),
                           RawValue{type, std::vector<unsigned char>(data.begin(), data.begin() + dataSize)});
        }
        for (DWORD i = 0;; ++i) {
            DWORD nameSize = sizeof name;
            if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            const std::string child(name, nameSize);
            ScopedKey sub;
            if (RegOpenKeyExA(key, child.c_str(), 0, KEY_READ, sub.receive()) == ERROR_SUCCESS) {
                walk(sub.get(), path.empty() ? child : path + '\\' + child, tree);
            } else {
                sub.release();
            }
        }
    }

    ScratchRegistry scratch_;
    RegistryStore store_;
    std::vector<std::string> denied_;
};

}  // namespace

std::unique_ptr<StoreHarness> makeRegistryHarness() { return std::make_unique<RegistryHarness>(); }

std::vector<Backend> backends() { return {{"Memory", &makeMemoryHarness}, {"Registry", &makeRegistryHarness}}; }

}  // namespace p2pb::test
