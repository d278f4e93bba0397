// Rating model of the counter-current coil-in-jacket water/water exchanger.
//
// The model is one calculation state plus the relations that work on it.
// Every relation reads and writes fields of the state, takes no arguments
// and returns nothing; the order of the calls is part of their contract.
// Intermediates are carried in 80-bit long double, fields are stored as
// double, and a power x^y is always exp(y * ln x).
//
// Arithmetic faults (division by zero, invalid operation, overflow) throw
// ArithmeticError at the failing relation; what was written before stays.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace rating {

// The three arithmetic faults and their messages, as the user sees them.
class ArithmeticError : public std::runtime_error {
public:
    enum class Kind { DivisionByZero, InvalidOperation, Overflow };
    explicit ArithmeticError(Kind k);
    Kind kind() const noexcept { return kind_; }
    static const char *messageOf(Kind k) noexcept;

private:
    Kind kind_;
};

// Water properties, fourth-degree polynomials in t (°C).
double Fajho(double t);   // specific heat, J/(kg·°C)
double Suruseg(double t); // density, kg/m3

// Type table: coefficient c of type i is TipusAdat[5*c + i];
// c = 0 Cpk, 1 Cps, 2 Ak, 3 As, 4 Calfa, 5 F; element 30 is Rf.
inline constexpr int TipusCount = 5;
extern const double TipusAdat[31];
inline constexpr double Rf = 0.000055; // default fouling resistance, m2·°C/W (Model::Rf, Case::Rf)
enum TipusOszlop : int { cCpk = 0, cCps = 1, cAk = 2, cAs = 3, cCalfa = 4, cF = 5 };
inline double Adat(int oszlop, int tipus) { return TipusAdat[5 * oszlop + tipus]; }

// Names of the five types, in the order of the type list.
extern const char *const TipusNevek[TipusCount];

// Largest number of passes of the outlet-temperature iteration. Normal
// inputs settle within about ten; the bound only keeps the loop finite.
inline constexpr int MaxPasses = 1000;

class Model {
public:
    // ---- calculation state, in declaration order; everything starts at zero
    std::int32_t Tipus = 0;  // apparatus type, 0..4
    std::int32_t Soros = 0;  // units in series per branch
    std::int32_t Parh = 0;   // parallel branches
    double tkb = 0;          // jacket inlet, °C
    double tkk = 0;          // jacket outlet, °C
    double tsb = 0;          // coil inlet, °C
    double tsk = 0;          // coil outlet, °C
    double Vk = 0;           // jacket volume flow, m3/s
    double Vs = 0;           // coil volume flow, m3/s
    double MVk = 0;          // jacket flow as entered (unit of the jacket unit list)
    double MVs = 0;          // coil flow as entered
    double K = 0;            // overall coefficient, W/(m2·°C)
    double tkm = 0;          // jacket mean temperature, °C
    double tsm = 0;          // coil mean temperature, °C
    double wk = 0;           // jacket velocity in one branch, m/s
    double ws = 0;           // coil velocity in one branch, m/s
    double Q = 0;            // heat duty, W
    double Q_elozo = 0;      // heat duty of the previous pass, W
    double Delta_tm = 0;     // mean temperature difference, °C
    double Delta_tmin = 0;   // smaller terminal difference, °C
    double Delta_tmax = 0;   // larger terminal difference, °C
    double Alfa_k = 0;       // jacket film coefficient, W/(m2·°C)
    double Alfa_s = 0;       // coil film coefficient, W/(m2·°C)
    double Delta_pk = 0;     // jacket pressure drop, bar
    double Delta_ps = 0;     // coil pressure drop, bar
    bool Hiba = false;       // the last run failed one of its checks
    std::int32_t NyomLap = 0; // page counter of the full report
    std::int32_t Nyelv = 0;   // interface language, 0..6

    // ---- phrase fields (UTF-8), filled by the interface language
    std::string SzHoteljesitmeny;
    std::string SzBelhomK;
    std::string SzBelhomS;
    std::string SzTerfaramK;
    std::string SzTerfaramS;
    std::string SzHocserelo;
    std::string SzHoatbocsT;

    // ---- inputs that the calculation run takes from the window
    int CbMVkIndex = 1;                 // jacket flow unit: 0 l/min, 1 m3/h
    int CbMVsIndex = 1;                 // coil flow unit: 0 l/min, 1 m3/h
    double Rf = rating::Rf;             // fouling resistance added to the film resistances, m2·°C/W
    std::string DecimalSeparator = "."; // the user's regional separator (UTF-8)

    // ---- the twelve result texts (UTF-8), written by Szamitas
    std::string DPK;
    std::string DPS;
    std::string QLabel;
    std::string LbTKK;
    std::string LbTSK;
    std::string LbTomegaramK;
    std::string LbArsebK;
    std::string LbHoatadK;
    std::string LbTomegaramS;
    std::string LbArsebS;
    std::string LbHoatadS;
    std::string LbHoatbocsT;

    // ---- the numbers behind the result texts: each text is its number
    // formatted by FixedText (kPa, kW, °C, kg/s, m/s, W/(m2·°C)). A run
    // that stops at a check leaves the numbers it did not reach as they
    // were, as it leaves the texts.
    struct ResultValues {
        double DPK = 0;          // jacket pressure drop, kPa
        double DPS = 0;          // coil pressure drop, kPa
        double QLabel = 0;       // heat duty, kW
        double LbTKK = 0;        // jacket outlet temperature, °C
        double LbTSK = 0;        // coil outlet temperature, °C
        double LbTomegaramK = 0; // jacket mass flow of one branch, kg/s
        double LbArsebK = 0;     // jacket velocity, m/s
        double LbHoatadK = 0;    // jacket film coefficient, W/(m2·°C)
        double LbTomegaramS = 0; // coil mass flow of one branch, kg/s
        double LbArsebS = 0;     // coil velocity, m/s
        double LbHoatadS = 0;    // coil film coefficient, W/(m2·°C)
        double LbHoatbocsT = 0;  // overall coefficient, W/(m2·°C)
    };
    ResultValues Values;
    // Off: Szamitas computes Hiba and the numbers but writes no text
    // (callers that rate many cases and format nothing).
    bool WriteTexts = true;

    // ---- bookkeeping of the last Kozelites call (not part of the state)
    int Passes = 0;           // passes made
    bool PassLimitHit = false; // stopped by MaxPasses instead of settling

private:
    // w^0.733 depends on the stored velocity alone, which stays the same
    // through all passes of one rating; the last value is kept per side.
    struct PowerMemo {
        bool valid = false;
        double w = 0;
        long double value = 0;
    };
    PowerMemo powWk_, powWs_;
    long double velocityPower(PowerMemo &memo, double w);
    // Likewise the density at an inlet temperature.
    struct DensityMemo {
        bool valid = false;
        double t = 0;
        double value = 0;
    };
    DensityMemo rhoK_, rhoS_;
    static double density(DensityMemo &memo, double t);
    // And the power of the flow of one branch in each pressure drop, which
    // depends neither on the type nor on the units in series.
    struct FlowPowerMemo {
        bool valid = false;
        long double q = 0;
        long double value = 0;
    };
    FlowPowerMemo powQk_, powQs_;
    static long double flowPower(FlowPowerMemo &memo, long double q, long double exponent);

public:
    // ---- relations
    void Alfa_k_szamit();
    void Alfa_s_szamit();
    void K_szamit();
    void Delta_tm_szamit();
    void Delta_pk_szamit();
    void Delta_ps_szamit();
    void Q_szamit();

    // Outlet-temperature iteration.
    void Kozelites();
    // One pass of it, from the outlet temperatures and the duty in the
    // state: mean temperatures, film and overall coefficients,
    // effectivenesses, new outlets, mean difference, Q_elozo := Q, new Q.
    // Kozelites makes its passes with this; after it, further passes show
    // where the iteration was heading.
    void OnePass();

    // The first step of the calculation run: the volume flows Vk, Vs in
    // m3/s from the entered flows and their units. True when both pass the
    // run's flow check (above 0, below 50000 m3/s).
    bool Terfaram_szamit();
    // The run's check of the inlet temperatures: different, neither above
    // 150 °C.
    bool Homerseklet_ok() const;

    // One complete calculation run: flows, checks, pressure drops,
    // iteration and the twelve result texts.
    void Szamitas();
};

// Volume flow, m3/s, of a flow entered in the unit of a unit list (0 l/min,
// 1 m3/h), as the calculation run converts it.
double volumeFlow(double entered, int unitIndex);

// The heat one side takes up or gives off between its inlet and outlet
// temperatures, W: |tin - tout| V rho cp((tin + tout) / 2), with rho the
// density at the inlet (Suruseg(tin)) and V in m3/s. The iteration's energy
// balance of each side, to the bit.
double sideDuty(double tin, double tout, double V, double rho);

// Fixed-point text of x with the given decimals, rounded half away from
// zero from the exact binary value, no thousands separator, `sep` as the
// decimal separator; every digit of any finite value, however large.
// Never empty: "NAN", "INF" and "-INF" for what is no finite number.
std::string FixedText(long double x, int decimals, const std::string &sep = ".");

} // namespace rating
