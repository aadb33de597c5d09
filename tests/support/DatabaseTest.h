#pragma once

#include "support/FreshDatabase.h"

#include <gtest/gtest.h>

namespace testing_support {

// A test on a fresh current database with a connected data module.
class DatabaseTest : public ::testing::Test
{
protected:
    FreshDatabase database;
    std::unique_ptr<Tdm> dm = database.connect();
};

} // namespace testing_support
