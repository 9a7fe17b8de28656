// Times the picture conversion a renderer that takes RGB only is fed with: a
// 1920x1080 4:2:0 picture shrunk to 1024x576 RGB (NV12 and I420, what the
// picture shrinker and the Media Foundation source do), and NV12 converted at
// its own size. Prints the best of several rounds in milliseconds a frame.
// Usage: bench_convert [ROUNDS]   (default 5, of 100 frames each)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "common/picture_convert.h"
#include "common/yuv420_planes.h"

namespace {

using namespace lumorix;

double BestMillisecondsPerFrame(int rounds, const std::function<void()>& convert) {
  constexpr int kFrames = 100;
  double best = 1e9;
  for (int round = 0; round < rounds; ++round) {
    auto start = std::chrono::steady_clock::now();
    for (int frame = 0; frame < kFrames; ++frame) convert();
    std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count() / kFrames);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  constexpr int kWidth = 1920, kHeight = 1080, kShownWidth = 1024, kShownHeight = 576;
  std::vector<uint8_t> picture(static_cast<size_t>(kWidth) * kHeight * 3 / 2);
  for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<uint8_t>(i * 7 + i / kWidth);
  std::vector<uint8_t> shown(static_cast<size_t>(kShownWidth) * kShownHeight * 4);
  std::vector<uint8_t> whole(static_cast<size_t>(kWidth) * kHeight * 4);
  PictureTarget shownTarget{PixelLayout::kRgb32, kShownWidth, kShownHeight, shown.data(), kShownWidth * 4, nullptr, 0};
  size_t bytes = 0;
  Yuv420View nv12 = Yuv420Planes(Yuv420Order::kNv12, picture.data(), kWidth, kHeight, &bytes);
  Yuv420View i420 = Yuv420Planes(Yuv420Order::kI420, picture.data(), kWidth, kHeight, &bytes);

  std::printf("1920x1080 picture, best of %d rounds, ms a frame\n", rounds);
  std::printf("NV12 shrunk to 1024x576 RGB   %6.2f\n",
              BestMillisecondsPerFrame(rounds, [&] { ShrinkYuv420ToRgb32(nv12, shownTarget); }));
  std::printf("I420 shrunk to 1024x576 RGB   %6.2f\n",
              BestMillisecondsPerFrame(rounds, [&] { ShrinkYuv420ToRgb32(i420, shownTarget); }));
  std::printf("NV12 to RGB at its own size   %6.2f\n", BestMillisecondsPerFrame(rounds, [&] {
                Nv12ToRgb32(nv12.luma, nv12.lumaStride, nv12.u, nv12.chromaStride, kWidth, kHeight, whole.data(),
                            kWidth * 4);
              }));
  return shown[1000] == 1 && whole[5000] == 1;  // keeps the work from being optimised away
}
