#include "framework/Delegate.h"

#include <gtest/gtest.h>

namespace {

struct TTarget {
    int Calls = 0;
    int Add(int X) { Calls++; return X + Base; }
    int Twice(int X) { return 2 * X; }
    int Base = 10;
};

int Negate(int X) { return -X; }

} // namespace

TEST(Delegate, CallsComparesAndCopies)
{
    TTarget A, B;
    using TFn = TDelegate<int(int)>;
    const TFn F = TFn::Bind<&TTarget::Add>(&A);
    EXPECT_EQ(F(5), 15);
    EXPECT_EQ(A.Calls, 1);
    const TFn Copy = F;
    EXPECT_EQ(Copy, F);
    EXPECT_EQ(F, MakeDelegate<&TTarget::Add>(&A));
    EXPECT_NE(F, TFn::Bind<&TTarget::Add>(&B));
    EXPECT_NE(F, TFn::Bind<&TTarget::Twice>(&A));
    EXPECT_EQ(TFn::BindFunction<&Negate>()(3), -3);
    EXPECT_FALSE(TFn());
    EXPECT_TRUE(F);
    EXPECT_EQ(F.Data(), &A);
}
