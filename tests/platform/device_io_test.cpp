// A device whose read or write call fails once: EINTR and a short count are
// retried and the update goes through; EIO ends it with its own status,
// leaving the old or the new record, and the next update succeeds.
#include <fstream>
#include <memory>
#include <unistd.h>

#include "platform/device_model.h"
#include "platform/store_fixture.h"

namespace quillet_test {
namespace {

using Call = DeviceModel::Call;
using Fault = DeviceModel::Fault;

class DeviceIo : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        device_ = std::make_unique<ModelledDevice>();
        ASSERT_EQ(device_->add(store_, "EE", 8192), 0);
        ASSERT_EQ(update("EE", "Power_SummaryR", pattern("Power_SummaryR", 1)), 0);
    }
    void TearDown() override
    {
        device_.reset();
        StoreTest::TearDown();
    }

    std::vector<uint8_t> stored()
    {
        std::vector<uint8_t> got;
        EXPECT_EQ(slots("EE", "Power_SummaryR", 2048, &got), 0);
        return got;
    }

    DeviceModel &model() { return device_->model(); }

    std::unique_ptr<ModelledDevice> device_;
};

TEST_F(DeviceIo, EveryFailingCallEndsClearly)
{
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
                const std::vector<uint8_t> old = stored();
                const std::vector<uint8_t> now = pattern("Power_SummaryR", seed);
                model().fail(call, index, c.fault);
                ::testing::internal::CaptureStderr();
                const int32_t status = update("EE", "Power_SummaryR", now);
                const std::string err = ::testing::internal::GetCapturedStderr();
                EXPECT_EQ(fru_close_data_source(), 0);
                const char *what = call == Call::Read ? "read" : "write";
                EXPECT_EQ(status, c.status) << what << " call " << index << ": " << err;
                const std::vector<uint8_t> after = stored();
                EXPECT_TRUE(after == now || (status != 0 && after == old)) << what << " call " << index;
                if (status != 0) {
                    EXPECT_NE(err.find("Input/output error"), std::string::npos) << err;
                }
                EXPECT_EQ(update("EE", "Power_SummaryR", now), 0) << what << " call " << index;
            }
    std::printf("device faults: %zu failing calls tried\n", tried);
}

}  // namespace
}  // namespace quillet_test
