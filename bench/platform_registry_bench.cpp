// Registry costs the viewer pays on its user-interface thread: writing a
// stamp after a request (one committed transaction), reading a setting,
// and importing a registry script of an update.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/registry/reg_file_import.h"
#include "platform/registry/registry_store.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace brantel;

void BM_SetValue(benchmark::State& state) {
  const testing::TempDataFolder home("brantel-bench");
  auto store = RegistryStore::Shared();
  RegKeyId key = 0;
  store->CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\BRANTEL\\BrantelStock\\LastUpdate", &key);
  const std::string stamp(22, 'x');
  for (auto _ : state) benchmark::DoNotOptimize(store->SetValue(key, "2", REG_MULTI_SZ, stamp));
}
BENCHMARK(BM_SetValue);

void BM_OpenAndQuery(benchmark::State& state) {
  const testing::TempDataFolder home("brantel-bench");
  auto store = RegistryStore::Shared();
  RegKeyId key = 0;
  store->CreateKey(HKEY_CURRENT_USER, "ControlPanel\\MotionSensor", &key);
  store->SetValue(key, "AutoOrientation", REG_DWORD, std::string(4, '\0'));
  for (auto _ : state) {
    RegKeyId k = 0;
    RegValue v;
    store->OpenKey(HKEY_CURRENT_USER, "ControlPanel\\MotionSensor", &k);
    benchmark::DoNotOptimize(store->QueryValue(k, "AutoOrientation", &v));
  }
}
BENCHMARK(BM_OpenAndQuery);

void BM_Import1000Values(benchmark::State& state) {
  const testing::TempDataFolder home("brantel-bench");
  auto store = RegistryStore::Shared();
  std::string script = "Windows Registry Editor Version 5.00\n\n";
  for (int k = 0; k < 10; ++k) {
    script += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Bench\\K" + std::to_string(k) + "]\n";
    for (int v = 0; v < 100; ++v)
      script += "\"v" + std::to_string(v) + "\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f\n";
  }
  for (auto _ : state) benchmark::DoNotOptimize(ImportRegText(*store, script).ok);
}
BENCHMARK(BM_Import1000Values)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
