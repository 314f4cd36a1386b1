// The skin engine is process-wide: every test of this executable ends with it
// freed (manager, hook, frames), once the test's own objects are gone, so
// the next test starts without skins.
#include <gtest/gtest.h>

#include "skin/WinSkinDlg.h"

namespace pellix::test {
namespace {

class SkinEngineReset : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo&) override { ShutdownSkinEngine(); }
};

[[maybe_unused]] const bool registered = [] {
    // The listener list owns what it is given.
    testing::UnitTest::GetInstance()->listeners().Append(new SkinEngineReset);
    return true;
}();

}  // namespace
}  // namespace pellix::test
