#include "tests/support/parameter_rows.h"

#include <gtest/gtest.h>

void expectParameterRows(const Parameter* records, const std::vector<ParameterRow>& rows) {
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "record " << i);
        const ParameterRow& row = rows[i];
        const Parameter& p = records[i];
        EXPECT_EQ(p.kind, row.kind);
        EXPECT_EQ(p.flags, row.flags);
        if (row.key) {
            EXPECT_STREQ(p.name, row.key);
            EXPECT_STREQ(p.label, row.label);
        } else {
            EXPECT_EQ(p.name, nullptr);
        }
        switch (row.kind) {
            case ParameterKind::Number:
                EXPECT_EQ(p.minimum, row.minimum);
                EXPECT_EQ(p.maximum, row.maximum);
                EXPECT_EQ(p.numberDefault, row.value);
                EXPECT_EQ(p.number, row.value);
                EXPECT_EQ(p.numberWord, 1u);
                break;
            case ParameterKind::List:
                ASSERT_EQ(p.itemCount, row.items.size());
                for (uint32_t item = 0; item < p.itemCount; ++item) EXPECT_STREQ(p.items[item], row.items[item]);
                EXPECT_EQ(p.listDefault, uint32_t(row.value));
                EXPECT_EQ(p.listIndex, uint32_t(row.value));
                break;
            case ParameterKind::Boolean:
                EXPECT_EQ(p.booleanDefault, row.value != 0);
                EXPECT_EQ(p.boolean, row.value != 0);
                break;
            case ParameterKind::Point:
                EXPECT_EQ(p.pointDefault.x, row.point.x);
                EXPECT_EQ(p.pointDefault.y, row.point.y);
                EXPECT_EQ(p.point.x, row.point.x);
                EXPECT_EQ(p.point.y, row.point.y);
                break;
            default:
                break;
        }
    }
}
