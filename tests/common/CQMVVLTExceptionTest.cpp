#include <gtest/gtest.h>

#include "CQMVVLTException.h"

TEST(QMVVLTException, EachLayerAppendsOneTraceEntry) {
    try {
        TraceExceptions("Outer::Op", [] {
            TraceExceptions("Inner::Op", [] { ThrowQMVVLT(105, "Source::Op", "bad attribute"); });
        });
        FAIL() << "no exception";
    } catch (const CQMVVLTException& e) {
        EXPECT_EQ(e.Code(), 105);
        EXPECT_EQ(e.Message(), "bad attribute");
        // "\n(context:line) text" per entry, in the order they were added.
        const std::string& t = e.Trace();
        const auto first = t.find("\n(Source::Op:");
        const auto second = t.find("\n(Inner::Op:");
        const auto third = t.find("\n(Outer::Op:");
        ASSERT_EQ(first, 0u) << t;
        ASSERT_NE(second, std::string::npos) << t;
        ASSERT_NE(third, std::string::npos) << t;
        EXPECT_LT(second, third);
        EXPECT_NE(t.find(") bad attribute\n(Inner::Op:"), std::string::npos) << t;
        EXPECT_TRUE(t.ends_with(") Exception Catched")) << t;
        EXPECT_STREQ(e.what(), t.c_str());
    }
}

TEST(QMVVLTException, TraceCarriesTheCallersLineAndOwnText) {
    CQMVVLTException e(299, "CRadioDataModel::TakeOffDoc", 42, "ErrorMsg: x\nDesc: y\nSource: z");
    e.AddTrace("CQMVVLTDoc::GetVirtualCPData", 7, "Exception Caught");
    EXPECT_EQ(e.Trace(),
              "\n(CRadioDataModel::TakeOffDoc:42) ErrorMsg: x\nDesc: y\nSource: z"
              "\n(CQMVVLTDoc::GetVirtualCPData:7) Exception Caught");
}

TEST(QMVVLTException, ValuesPassThroughUntouched) {
    EXPECT_EQ(TraceExceptions("X", [] { return 7; }), 7);
}
