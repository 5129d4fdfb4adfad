// The physical and mathematical constants of the engine, each written once.
// The expression language's names, the named formulas and the built-in
// validation all read them from here, so no two of them can drift apart.
// Each is the double that its decimal reads as; SI units unless noted.
#pragma once

namespace kalvex::engine {

inline constexpr double kC = 299792458.0;                     // speed of light, m/s
inline constexpr double kH = 6.62607015e-34;                  // Planck constant, J s
inline constexpr double kHbar = 1.054571817e-34;              // reduced Planck constant, J s
inline constexpr double kG = 6.6743e-11;                      // gravitation, m^3 kg^-1 s^-2
inline constexpr double kKb = 1.380649e-23;                   // Boltzmann constant, J/K
inline constexpr double kElementaryCharge = 1.602176634e-19;  // C
inline constexpr double kGasR = 8.314462618;                  // molar gas constant, J/(mol K)
inline constexpr double kAvogadro = 6.02214076e23;            // 1/mol
inline constexpr double kElectronMass = 9.1093837015e-31;     // kg
inline constexpr double kProtonMass = 1.67262192369e-27;      // kg
inline constexpr double kBohrRadius = 5.29177210903e-11;      // m
inline constexpr double kSigma = 5.670374419e-08;             // Stefan-Boltzmann, W m^-2 K^-4
inline constexpr double kAlpha = 0.0072973525693;             // fine-structure constant
inline constexpr double kRydberg = 10973731.56816;            // Rydberg constant, 1/m
inline constexpr double kKe = 8987551792.3;                   // Coulomb constant, N m^2 C^-2
inline constexpr double kWienB = 0.002897771955;              // Wien displacement, m K
inline constexpr double kRydbergEv = -13.605693122;           // hydrogen ground state, eV
inline constexpr double kSolarMass = 1.989e30;                // the validation's black hole, kg
inline constexpr double kPi = 3.141592653589793;              // the double nearest to pi
// The golden ratio to ten decimals, not the double nearest to it.
inline constexpr double kPhi = 1.6180339887;

// Products that the formulas use as single constants. Each is formed in the
// grouping written, one rounded double operation per step; compile-time
// arithmetic rounds exactly like the run-time operation, so these are the
// doubles the formulas were defined with. Regrouping changes their bits and
// every figure built on them.
inline constexpr double k2Pi = 2.0 * kPi;  // exact, as is every scaling by 2 or 8
inline constexpr double k8Pi = 8.0 * kPi;
inline constexpr double k2G = 2.0 * kG;
inline constexpr double kC2 = kC * kC;
// ((hbar * c) * c) * c would round to a neighbouring double.
inline constexpr double kHbarC3 = kHbar * ((kC * kC) * kC);
inline constexpr double k8PiG = k8Pi * kG;
inline constexpr double k8PiGKb = k8PiG * kKb;
inline constexpr double k2PiKb = k2Pi * kKb;

}  // namespace kalvex::engine
