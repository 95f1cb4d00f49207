#include "TestSupport.h"

TEST(Errors, HierarchyAndContentsSurviveCopy) {
    try {
        orv::throwError<orv::data::invalid>("Cls", "op", orv::SystemMsg("text\n"));
    } catch (const orv::Error& e) {
        EXPECT_NE(dynamic_cast<const orv::data::error*>(&e), nullptr);
        EXPECT_NE(dynamic_cast<const orv::data::invalid*>(&e), nullptr);
        const orv::Error copy(e);
        EXPECT_EQ(copy.getClassLabel(), "Cls");
        EXPECT_EQ(copy.getOperationLabel(), "op");
        EXPECT_EQ(copy.getMessage(), "text\n");
        EXPECT_EQ(copy.getErrorType(), 4);
        EXPECT_EQ(e.describe(), "Cls::op: text\n");
    }
    EXPECT_THROW(orv::throwError<orv::internal::error>("a", "b", orv::UserMsg("c", nullptr)),
                 orv::Error);
    // An internal error is not a data error.
    try {
        orv::throwError<orv::internal::error>("a", "b", "c");
    } catch (const orv::data::error&) {
        FAIL() << "internal::error caught as data::error";
    } catch (const orv::internal::error& e) {
        EXPECT_EQ(e.getMessage(), "c");
    }
}

TEST(Errors, WrappersPassTextThroughUnchanged) {
    const std::string s = "  Invalid rotation parameters.\n";
    EXPECT_EQ(std::string(orv::SystemMsg(s)), s);
    EXPECT_EQ(std::string(orv::UserMsg(s, nullptr)), s);
}
