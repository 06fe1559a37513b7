// A shared library that is no component: it lacks DllGetClassObject.
extern "C" int TesselFixtureNothing() {
    return 0;
}
