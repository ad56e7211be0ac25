// The browser: one application, run until its last window closes.

#include "app/Application.h"

int main(int argc, char** argv) {
    nimb::Application application;
    return application.run(argc, argv);
}
