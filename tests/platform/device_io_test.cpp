// A device whose read or write call fails once: EINTR and a short count are
// retried and the update goes through; EIO ends it with its own status,
// leaving the old or the new record, and the next update succeeds.
#include <cstdio>

#include "platform/device_model.h"

namespace quillet_test {
namespace {

using Call = DeviceModel::Call;
using Fault = DeviceModel::Fault;

using DeviceIo = DeviceTest;

TEST_F(DeviceIo, EveryFailingCallEndsClearly)
{
    make_device(8192);
    ASSERT_EQ(update("EE", "Power_SummaryR", pattern("Power_SummaryR", 1)), 0);
    model().reset_counts();
    ASSERT_EQ(update("EE", "Power_SummaryR", pattern("Power_SummaryR", 2)), 0);
    const size_t counts[] = {model().calls(Call::Read), model().calls(Call::Write)};
    ASSERT_GT(counts[1], 0u);
    const struct {
        Fault fault;
        int32_t status;
    } cases[] = {{Fault::Eintr, 0}, {Fault::Short, 0}, {Fault::Eio, fruplat::kDeviceIo}};
    uint8_t seed = 3;
    size_t tried = 0;
    for (const auto &c : cases)
        for (Call call : {Call::Read, Call::Write})
            for (size_t index = 0; index < counts[call == Call::Write]; ++index, ++seed, ++tried) {
                SCOPED_TRACE(testing::Message() << (call == Call::Read ? "read" : "write") << " call " << index);
                const std::vector<uint8_t> old = stored("EE", "Power_SummaryR");
                const std::vector<uint8_t> now = pattern("Power_SummaryR", seed);
                model().fail(call, index, c.fault);
                ::testing::internal::CaptureStderr();
                const int32_t status = update("EE", "Power_SummaryR", now);
                const std::string err = ::testing::internal::GetCapturedStderr();
                EXPECT_EQ(fru_close_data_source(), 0);
                EXPECT_EQ(status, c.status) << err;
                const std::vector<uint8_t> after = stored("EE", "Power_SummaryR");
                EXPECT_TRUE(after == now || (status != 0 && after == old));
                if (status != 0) {
                    EXPECT_NE(err.find("Input/output error"), std::string::npos) << err;
                }
                EXPECT_EQ(update("EE", "Power_SummaryR", now), 0);
            }
    std::printf("device faults: %zu failing calls tried\n", tried);
}

}  // namespace
}  // namespace quillet_test
