#include <QCoreApplication>

#include <functional>
#include <map>
#include <string>

int run_serial_date_tests(int argc, char** argv);
int run_data_file_reader_tests(int argc, char** argv);
int run_data_file_writer_tests(int argc, char** argv);

// `test_store [group [QTest arguments]]`: ctest runs each group as its own test.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::map<std::string, std::function<int(int, char**)>> groups = {
        {"dates", run_serial_date_tests},
        {"reader", run_data_file_reader_tests},
        {"writer", run_data_file_writer_tests}};
    if (argc > 1 && groups.count(argv[1])) {
        const std::string name = argv[1];
        argv[1] = argv[0];
        return groups.at(name)(argc - 1, argv + 1);
    }
    int failed = 0;
    for (const auto& [name, run] : groups) failed += run(argc, argv);
    return failed;
}
