#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <memory>

#include "FFLoad/FFLoad.h"
#include "FFLog/FFLog.h"

namespace {

class UnitsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    logUnit_ = std::make_unique<FFLogUnit>();
    loadUnit_ = std::make_unique<FFLoadUnit>();
  }
  void TearDown() override {
    loadUnit_.reset();
    logUnit_.reset();
  }
  void EndLoaderUnit() { loadUnit_.reset(); }
  void StartLoaderUnit() { loadUnit_ = std::make_unique<FFLoadUnit>(); }

 private:
  std::unique_ptr<FFLogUnit> logUnit_;
  std::unique_ptr<FFLoadUnit> loadUnit_;
};

UnitsEnvironment* const gUnits =
    static_cast<UnitsEnvironment*>(::testing::AddGlobalTestEnvironment(new UnitsEnvironment));

}  // namespace

void RequireMediaLibraries() {
  TFFLoader& loader = FFLoader();
  if (loader.LibsLoaded(DecoderLibraries)) return;
  loader.SetLibraryPath({});
  ASSERT_TRUE(loader.LoadLibs(DecoderLibraries)) << loader.LastErrMsg();
}

void EndLoaderUnit() { gUnits->EndLoaderUnit(); }

void StartLoaderUnit() { gUnits->StartLoaderUnit(); }
