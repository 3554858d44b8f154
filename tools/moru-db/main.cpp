// moru-db: builds property databases from their JSON source, describes them and writes them back.

#include "MoruDb.h"

#include <fstream>
#include <iostream>

namespace {

int Usage()
{
    std::cerr << "usage:\n"
                 "  moru-db build SOURCE.json OUTPUT.db    validate the source and build the database\n"
                 "  moru-db info DATABASE.db               summarise a database\n"
                 "  moru-db dump DATABASE.db [OUT.json]    write the source of a database\n"
                 "  moru-db convert-bundle DIR OUT.json    turn the shared data bundle into a source\n";
    return 2;
}

int Write(const moru::dbtool::Json& source, const char* path)
{
    std::string text = source.dump(2) + "\n";
    if (!path) {
        std::cout << text;
        return 0;
    }
    std::ofstream file(path, std::ios::binary);
    file << text;
    if (!file.flush()) {
        std::cerr << "moru-db: cannot write " << path << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) return Usage();
    std::string command = argv[1];
    try {
        if (command == "build" && argc == 4) {
            auto errors = moru::dbtool::BuildDatabaseFromFile(argv[2], argv[3]);
            for (const auto& error : errors) std::cerr << argv[2] << ": " << moru::dbtool::Format(error) << "\n";
            if (!errors.empty()) {
                std::cerr << "moru-db: " << errors.size() << " error(s); no database was written\n";
                return 1;
            }
            return 0;
        }
        if (command == "info" && argc == 3) {
            std::cout << moru::dbtool::DescribeDatabase(argv[2]);
            return 0;
        }
        if (command == "dump" && (argc == 3 || argc == 4)) return Write(moru::dbtool::DumpDatabase(argv[2]), argc == 4 ? argv[3] : nullptr);
        if (command == "convert-bundle" && argc == 4) return Write(moru::dbtool::ConvertBundle(argv[2]), argv[3]);
    } catch (const std::exception& failure) {
        std::cerr << "moru-db: " << failure.what() << "\n";
        return 1;
    }
    return Usage();
}
