#include <QApplication>
#include <QTextStream>

// Benchmarks of the whole program on large workbooks; never run by the tests.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTextStream(stderr) << "usage: sorvanta-bench load FILE\n";
    return 2;
}
