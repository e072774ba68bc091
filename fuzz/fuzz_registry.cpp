// The registry store and the registry class on a store file of any content
// (a hand-edited or damaged file). Nothing in it is trusted: reads never
// crash, and a value written is the value read back.
#include "RegOp.h"
#include "fuzz_support.h"
#include "registry.h"
#include "vberror.h"

#include <cstdint>
#include <string>

namespace {

using namespace Platform;

const std::string Key = "Software\\Orvane\\Tidelet Terminal";

// Walks every key below `path`, as far down as a sane store goes.
void Walk(const RegistryStore& store, uint32_t root, const std::string& path, int depth)
{
    (void)store.QueryInfo(root, path);
    (void)store.Values(root, path);
    if (depth < 8) {
        for (const std::string& name : store.SubKeys(root, path)) {
            Walk(store, root, path.empty() ? name : path + "\\" + name, depth + 1);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Fuzz::InstallQuietDialogs();
    SetRegistryFile(Fuzz::ScratchFolder() + "/registry");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::WriteBytes(RegistryFile(), std::string(reinterpret_cast<const char*>(data), size));
    RegistryStore store = Registry();
    for (const uint32_t root : {RegRoot::ClassesRoot, RegRoot::CurrentUser, RegRoot::LocalMachine}) {
        Walk(store, root, "", 0);
    }

    // The program's own use: read the engineering code at start, write it at exit.
    {
        RegOp reg;
        reg.Key(Key);
        (void)reg.AllValues();
        (void)reg.AllKeys();
        (void)reg.ValueCount();
        try {
            (void)RegText(reg.Value("Engineering"));
        } catch (const VBError&) {
            // Only an array raises here, and the program reads no arrays.
            Fuzz::Check(false, "a plain read of a value raised");
        }
        try {
            reg.Value("Engineering", RegVariant(std::string("TRAVENO")));
        } catch (const VBError&) {
            // A number there will not take the text: it is replaced, as at exit.
            Fuzz::Check(reg.DeleteValue("Engineering"), "a value that could be read could not be deleted");
            reg.Value("Engineering", RegVariant(std::string("TRAVENO")));
        }
    }
    const auto engineering = store.QueryValue(RegRoot::CurrentUser, Key, "Engineering");
    Fuzz::Check(engineering.has_value(), "the engineering value was not stored");
    if (engineering->type == RegType::Text || engineering->type == RegType::ExpandText) {
        Fuzz::Check(engineering->data == std::string("TRAVENO", 8), "the engineering value reads back wrong");
    }

    // A new key and value in whatever the file held, then gone again.
    const RegValue value{RegType::MultiText, std::string("a\0b\0\0", 5)};
    Fuzz::Check(store.CreateKey(RegRoot::CurrentUser, "Software\\Fuzz\\Deeper"), "a key could not be made");
    Fuzz::Check(store.SetValue(RegRoot::CurrentUser, "Software\\Fuzz\\Deeper", "List", value), "a value could not be set");
    Fuzz::Check(store.QueryValue(RegRoot::CurrentUser, "software\\FUZZ\\deeper", "list") == value,
                "a value set does not read back");
    Fuzz::Check(store.DeleteKey(RegRoot::CurrentUser, "Software\\Fuzz"), "a key could not be deleted");
    Fuzz::Check(!store.KeyExists(RegRoot::CurrentUser, "Software\\Fuzz\\Deeper"), "a deleted key is still there");
    return 0;
}
