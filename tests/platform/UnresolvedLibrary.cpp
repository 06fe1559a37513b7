// A component library that cannot be bound: it needs a symbol nothing provides.
extern "C" int TesselFixtureMissingSymbol();
extern "C" int DllGetClassObject() {
    return TesselFixtureMissingSymbol();
}
