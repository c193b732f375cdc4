// The ball's float fields after each of the 99 steps of a throw, to the bit,
// as the program computes them: height, previousHeight, launchVelocity, ballX.
// Generated once from stepBall after checking it against the worked throw
// (heights 101.098 at step 1, 103.648 at step 6, bounces at steps 39 and 93
// with launch velocities 50.8 and 41.68, 22.656 and ballX 0.99 at step 99).
// Any change of a compiler, a flag or a rounding that moves a single bit shows here.
#pragma once

struct StoredStep {
    float height, previousHeight, launchVelocity, ballX;
};

// clang-format off
constexpr StoredStep storedThrow[] = {
    {0x1.94645ap+6f, 0x1.9p+6f, 0x1.4p+3f, -0x1.f0a3d8p-1f},  // 1: 101.098
    {0x1.98p+6f, 0x1.94645ap+6f, 0x1.4p+3f, -0x1.e66666p-1f},  // 2: 102
    {0x1.9ad2f2p+6f, 0x1.98p+6f, 0x1.4p+3f, -0x1.dc28f6p-1f},  // 3: 102.706
    {0x1.9cdd3p+6f, 0x1.9ad2f2p+6f, 0x1.4p+3f, -0x1.d1eb86p-1f},  // 4: 103.216
    {0x1.9e1ebap+6f, 0x1.9cdd3p+6f, 0x1.4p+3f, -0x1.c7ae14p-1f},  // 5: 103.53
    {0x1.9e978ep+6f, 0x1.9e1ebap+6f, 0x1.4p+3f, -0x1.bd70a4p-1f},  // 6: 103.648
    {0x1.9e47aep+6f, 0x1.9e978ep+6f, 0x1.4p+3f, -0x1.b33334p-1f},  // 7: 103.57
    {0x1.9d2f1ap+6f, 0x1.9e47aep+6f, 0x1.4p+3f, -0x1.a8f5c2p-1f},  // 8: 103.296
    {0x1.9b4dd2p+6f, 0x1.9d2f1ap+6f, 0x1.4p+3f, -0x1.9eb852p-1f},  // 9: 102.826
    {0x1.98a3d6p+6f, 0x1.9b4dd2p+6f, 0x1.4p+3f, -0x1.947ae2p-1f},  // 10: 102.16
    {0x1.953126p+6f, 0x1.98a3d6p+6f, 0x1.4p+3f, -0x1.8a3d7p-1f},  // 11: 101.298
    {0x1.90f5c2p+6f, 0x1.953126p+6f, 0x1.4p+3f, -0x1.8p-1f},  // 12: 100.24
    {0x1.8bf1aap+6f, 0x1.90f5c2p+6f, 0x1.4p+3f, -0x1.75c29p-1f},  // 13: 98.986
    {0x1.8624dep+6f, 0x1.8bf1aap+6f, 0x1.4p+3f, -0x1.6b851ep-1f},  // 14: 97.536
    {0x1.7f8f5cp+6f, 0x1.8624dep+6f, 0x1.4p+3f, -0x1.6147aep-1f},  // 15: 95.89
    {0x1.783126p+6f, 0x1.7f8f5cp+6f, 0x1.4p+3f, -0x1.570a3ep-1f},  // 16: 94.048
    {0x1.700a3cp+6f, 0x1.783126p+6f, 0x1.4p+3f, -0x1.4cccccp-1f},  // 17: 92.00999
    {0x1.671a9ep+6f, 0x1.700a3cp+6f, 0x1.4p+3f, -0x1.428f5cp-1f},  // 18: 89.77599
    {0x1.5d624cp+6f, 0x1.671a9ep+6f, 0x1.4p+3f, -0x1.3851ecp-1f},  // 19: 87.34599
    {0x1.52e146p+6f, 0x1.5d624cp+6f, 0x1.4p+3f, -0x1.2e147ap-1f},  // 20: 84.71999
    {0x1.47978cp+6f, 0x1.52e146p+6f, 0x1.4p+3f, -0x1.23d70ap-1f},  // 21: 81.89799
    {0x1.3b851ep+6f, 0x1.47978cp+6f, 0x1.4p+3f, -0x1.19999ap-1f},  // 22: 78.88
    {0x1.2ea9fcp+6f, 0x1.3b851ep+6f, 0x1.4p+3f, -0x1.0f5c28p-1f},  // 23: 75.666
    {0x1.210624p+6f, 0x1.2ea9fcp+6f, 0x1.4p+3f, -0x1.051eb8p-1f},  // 24: 72.256
    {0x1.129998p+6f, 0x1.210624p+6f, 0x1.4p+3f, -0x1.f5c29p-2f},  // 25: 68.64999
    {0x1.036458p+6f, 0x1.129998p+6f, 0x1.4p+3f, -0x1.e147aep-2f},  // 26: 64.84799
    {0x1.e6ccc8p+5f, 0x1.036458p+6f, 0x1.4p+3f, -0x1.ccccccp-2f},  // 27: 60.84999
    {0x1.c53f78p+5f, 0x1.e6ccc8p+5f, 0x1.4p+3f, -0x1.b851ecp-2f},  // 28: 56.65599
    {0x1.a220cp+5f, 0x1.c53f78p+5f, 0x1.4p+3f, -0x1.a3d70ap-2f},  // 29: 52.26599
    {0x1.7d70ap+5f, 0x1.a220cp+5f, 0x1.4p+3f, -0x1.8f5c28p-2f},  // 30: 47.67999
    {0x1.572f16p+5f, 0x1.7d70ap+5f, 0x1.4p+3f, -0x1.7ae148p-2f},  // 31: 42.89799
    {0x1.2f5c24p+5f, 0x1.572f16p+5f, 0x1.4p+3f, -0x1.666666p-2f},  // 32: 37.91999
    {0x1.05f7cap+5f, 0x1.2f5c24p+5f, 0x1.4p+3f, -0x1.51eb86p-2f},  // 33: 32.74599
    {0x1.b6040ep+4f, 0x1.05f7cap+5f, 0x1.4p+3f, -0x1.3d70a4p-2f},  // 34: 27.37599
    {0x1.5cf5b8p+4f, 0x1.b6040ep+4f, 0x1.4p+3f, -0x1.28f5c2p-2f},  // 35: 21.80999
    {0x1.00c49p+4f, 0x1.5cf5b8p+4f, 0x1.4p+3f, -0x1.147ae2p-2f},  // 36: 16.04799
    {0x1.42e13p+3f, 0x1.00c49p+4f, 0x1.4p+3f, -0x1p-2f},  // 37: 10.08999
    {0x1.f7ce78p+1f, 0x1.42e13p+3f, 0x1.4p+3f, -0x1.d70a3ep-3f},  // 38: 3.935988
    {0x0p+0f, 0x1.f7ce78p+1f, 0x1.966668p+5f, -0x1.ae147ap-3f},  // 39: 0 bounce
    {0x1.4b645cp+2f, 0x0p+0f, 0x1.966668p+5f, -0x1.851eb8p-3f},  // 40: 5.178
    {0x1.451ebap+3f, 0x1.4b645cp+2f, 0x1.966668p+5f, -0x1.5c28f6p-3f},  // 41: 10.16
    {0x1.de45a4p+3f, 0x1.451ebap+3f, 0x1.966668p+5f, -0x1.333334p-3f},  // 42: 14.946
    {0x1.389376p+4f, 0x1.de45a4p+3f, 0x1.966668p+5f, -0x1.0a3d7p-3f},  // 43: 19.536
    {0x1.7ee14ap+4f, 0x1.389376p+4f, 0x1.966668p+5f, -0x1.c28f5cp-4f},  // 44: 23.93
    {0x1.c20c4cp+4f, 0x1.7ee14ap+4f, 0x1.966668p+5f, -0x1.70a3d8p-4f},  // 45: 28.128
    {0x1.010a3ep+5f, 0x1.c20c4cp+4f, 0x1.966668p+5f, -0x1.1eb852p-4f},  // 46: 32.13
    {0x1.1f7ceep+5f, 0x1.010a3ep+5f, 0x1.966668p+5f, -0x1.99999ap-5f},  // 47: 35.936
    {0x1.3c5e36p+5f, 0x1.1f7ceep+5f, 0x1.966668p+5f, -0x1.eb851ep-6f},  // 48: 39.546
    {0x1.57ae16p+5f, 0x1.3c5e36p+5f, 0x1.966668p+5f, -0x1.47ae14p-7f},  // 49: 42.96
    {0x1.716c8cp+5f, 0x1.57ae16p+5f, 0x1.966668p+5f, 0x1.47ae14p-7f},  // 50: 46.178
    {0x1.89999ap+5f, 0x1.716c8cp+5f, 0x1.966668p+5f, 0x1.eb851ep-6f},  // 51: 49.2
    {0x1.a0354p+5f, 0x1.89999ap+5f, 0x1.966668p+5f, 0x1.99999ap-5f},  // 52: 52.026
    {0x1.b53f7ep+5f, 0x1.a0354p+5f, 0x1.966668p+5f, 0x1.1eb852p-4f},  // 53: 54.656
    {0x1.c8b854p+5f, 0x1.b53f7ep+5f, 0x1.966668p+5f, 0x1.70a3d8p-4f},  // 54: 57.09
    {0x1.da9fcp+5f, 0x1.c8b854p+5f, 0x1.966668p+5f, 0x1.c28f5cp-4f},  // 55: 59.328
    {0x1.eaf5c4p+5f, 0x1.da9fcp+5f, 0x1.966668p+5f, 0x1.0a3d7p-3f},  // 56: 61.37
    {0x1.f9ba6p+5f, 0x1.eaf5c4p+5f, 0x1.966668p+5f, 0x1.333334p-3f},  // 57: 63.216
    {0x1.0376cap+6f, 0x1.f9ba6p+5f, 0x1.966668p+5f, 0x1.5c28f6p-3f},  // 58: 64.866
    {0x1.0947bp+6f, 0x1.0376cap+6f, 0x1.966668p+5f, 0x1.851eb8p-3f},  // 59: 66.32001
    {0x1.0e4fe2p+6f, 0x1.0947bp+6f, 0x1.966668p+5f, 0x1.ae147ap-3f},  // 60: 67.57801
    {0x1.128f5ep+6f, 0x1.0e4fe2p+6f, 0x1.966668p+5f, 0x1.d70a3ep-3f},  // 61: 68.64001
    {0x1.160626p+6f, 0x1.128f5ep+6f, 0x1.966668p+5f, 0x1p-2f},  // 62: 69.506
    {0x1.18b43ap+6f, 0x1.160626p+6f, 0x1.966668p+5f, 0x1.147ae2p-2f},  // 63: 70.176
    {0x1.1a999ap+6f, 0x1.18b43ap+6f, 0x1.966668p+5f, 0x1.28f5c2p-2f},  // 64: 70.65
    {0x1.1bb646p+6f, 0x1.1a999ap+6f, 0x1.966668p+5f, 0x1.3d70a4p-2f},  // 65: 70.928
    {0x1.1c0a3ep+6f, 0x1.1bb646p+6f, 0x1.966668p+5f, 0x1.51eb86p-2f},  // 66: 71.01
    {0x1.1b9582p+6f, 0x1.1c0a3ep+6f, 0x1.966668p+5f, 0x1.666666p-2f},  // 67: 70.896
    {0x1.1a5812p+6f, 0x1.1b9582p+6f, 0x1.966668p+5f, 0x1.7ae148p-2f},  // 68: 70.58601
    {0x1.1851eep+6f, 0x1.1a5812p+6f, 0x1.966668p+5f, 0x1.8f5c28p-2f},  // 69: 70.08001
    {0x1.158314p+6f, 0x1.1851eep+6f, 0x1.966668p+5f, 0x1.a3d70ap-2f},  // 70: 69.37801
    {0x1.11eb86p+6f, 0x1.158314p+6f, 0x1.966668p+5f, 0x1.b851ecp-2f},  // 71: 68.48
    {0x1.0d8b44p+6f, 0x1.11eb86p+6f, 0x1.966668p+5f, 0x1.ccccccp-2f},  // 72: 67.386
    {0x1.08624ep+6f, 0x1.0d8b44p+6f, 0x1.966668p+5f, 0x1.e147aep-2f},  // 73: 66.096
    {0x1.0270a4p+6f, 0x1.08624ep+6f, 0x1.966668p+5f, 0x1.f5c29p-2f},  // 74: 64.61
    {0x1.f76c8cp+5f, 0x1.0270a4p+6f, 0x1.966668p+5f, 0x1.051eb8p-1f},  // 75: 62.928
    {0x1.e86668p+5f, 0x1.f76c8cp+5f, 0x1.966668p+5f, 0x1.0f5c28p-1f},  // 76: 61.05
    {0x1.d7cedap+5f, 0x1.e86668p+5f, 0x1.966668p+5f, 0x1.19999ap-1f},  // 77: 58.976
    {0x1.c5a5e4p+5f, 0x1.d7cedap+5f, 0x1.966668p+5f, 0x1.23d70ap-1f},  // 78: 56.706
    {0x1.b1eb86p+5f, 0x1.c5a5e4p+5f, 0x1.966668p+5f, 0x1.2e147ap-1f},  // 79: 54.24
    {0x1.9c9fcp+5f, 0x1.b1eb86p+5f, 0x1.966668p+5f, 0x1.3851ecp-1f},  // 80: 51.578
    {0x1.85c29p+5f, 0x1.9c9fcp+5f, 0x1.966668p+5f, 0x1.428f5cp-1f},  // 81: 48.72
    {0x1.6d53f8p+5f, 0x1.85c29p+5f, 0x1.966668p+5f, 0x1.4cccccp-1f},  // 82: 45.666
    {0x1.5353f8p+5f, 0x1.6d53f8p+5f, 0x1.966668p+5f, 0x1.570a3ep-1f},  // 83: 42.416
    {0x1.37c29p+5f, 0x1.5353f8p+5f, 0x1.966668p+5f, 0x1.6147aep-1f},  // 84: 38.97
    {0x1.1a9fcp+5f, 0x1.37c29p+5f, 0x1.966668p+5f, 0x1.6b851ep-1f},  // 85: 35.328
    {0x1.f7d70ep+4f, 0x1.1a9fcp+5f, 0x1.966668p+5f, 0x1.75c29p-1f},  // 86: 31.49
    {0x1.b74bcap+4f, 0x1.f7d70ep+4f, 0x1.966668p+5f, 0x1.8p-1f},  // 87: 27.456
    {0x1.739db6p+4f, 0x1.b74bcap+4f, 0x1.966668p+5f, 0x1.8a3d7p-1f},  // 88: 23.226
    {0x1.2cccdp+4f, 0x1.739db6p+4f, 0x1.966668p+5f, 0x1.947ae2p-1f},  // 89: 18.8
    {0x1.c5b234p+3f, 0x1.2cccdp+4f, 0x1.966668p+5f, 0x1.9eb852p-1f},  // 90: 14.178
    {0x1.2b8526p+3f, 0x1.c5b234p+3f, 0x1.966668p+5f, 0x1.a8f5c2p-1f},  // 91: 9.360003
    {0x1.1624ecp+2f, 0x1.2b8526p+3f, 0x1.966668p+5f, 0x1.b33334p-1f},  // 92: 4.346004
    {0x0p+0f, 0x1.1624ecp+2f, 0x1.4d70a4p+5f, 0x1.bd70a4p-1f},  // 93: 0 bounce
    {0x1.110626p+2f, 0x0p+0f, 0x1.4d70a4p+5f, 0x1.c7ae14p-1f},  // 94: 4.266
    {0x1.0ac084p+3f, 0x1.110626p+2f, 0x1.4d70a4p+5f, 0x1.d1eb86p-1f},  // 95: 8.336
    {0x1.86b854p+3f, 0x1.0ac084p+3f, 0x1.4d70a4p+5f, 0x1.dc28f6p-1f},  // 96: 12.21
    {0x1.fc6a82p+3f, 0x1.86b854p+3f, 0x1.4d70a4p+5f, 0x1.e66666p-1f},  // 97: 15.888
    {0x1.35eb86p+4f, 0x1.fc6a82p+3f, 0x1.4d70a4p+5f, 0x1.f0a3d8p-1f},  // 98: 19.37
    {0x1.6a7efap+4f, 0x1.35eb86p+4f, 0x1.4d70a4p+5f, 0x1.fae148p-1f},  // 99: 22.656
};
// clang-format on
