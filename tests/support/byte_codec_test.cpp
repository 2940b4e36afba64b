#include "support/byte_codec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace sylva {
namespace {

// Stored records keep this form: seven bits a byte, low first, the high bit marking more.
TEST(ByteCodec, NumbersKeepTheirStoredFormAndComeBackWhole) {
    const struct {
        std::uint64_t value;
        std::string bytes;
    } cases[] = {
        {0, std::string(1, '\0')},
        {127, "\x7f"},
        {128, "\x80\x01"},
        {300, "\xac\x02"},
        {16383, "\xff\x7f"},
        {16384, "\x80\x80\x01"},
        {std::numeric_limits<std::uint64_t>::max(), "\xff\xff\xff\xff\xff\xff\xff\xff\xff\x01"},
    };
    for (const auto& c : cases) {
        ByteWriter out;
        out.Number(c.value);
        const std::string bytes = out.Take();
        EXPECT_EQ(bytes, c.bytes) << c.value;
        ByteReader in(bytes);
        EXPECT_EQ(in.Number(), c.value);
        EXPECT_TRUE(in.Done()) << c.value;
    }
    for (std::int64_t value :
         {std::int64_t{0}, std::int64_t{-1}, std::int64_t{64}, std::int64_t{-65},
          std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()}) {
        ByteWriter out;
        out.Signed(value).Text("after");
        const std::string bytes = out.Take();
        ByteReader in(bytes);
        EXPECT_EQ(in.Signed(), value);
        EXPECT_EQ(in.Text(), "after");
        EXPECT_TRUE(in.Done()) << value;
    }
}

}  // namespace
}  // namespace sylva
