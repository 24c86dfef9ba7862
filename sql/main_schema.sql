-- Main database of the exam server. The program creates no table: load this
-- file once into an empty database before the first start.
-- Every table states its character set; there are no foreign keys and no
-- column defaults beyond NULL, and (course, order number) is deliberately not
-- unique: imports may bring duplicates that the operator sorts out.

CREATE TABLE khoathi (
    IDKhoaHoc   VARCHAR(64)  NOT NULL,
    TenKhoaHoc  VARCHAR(255) NULL,
    IDDonVi     VARCHAR(64)  NULL,
    NgayThi     DATE         NULL,
    NamHoc      INT          NULL,
    Thi         INT          NULL,
    HoiDong     VARCHAR(255) NULL,
    TrungTam    VARCHAR(255) NULL,
    TrangThai   INT          NULL,
    NgayImport  DATE         NULL,
    GhiChu      TEXT         NULL,
    PRIMARY KEY (IDKhoaHoc),
    KEY idx_khoathi_donvi (IDDonVi),
    KEY idx_khoathi_ngaythi (NgayThi),
    KEY idx_khoathi_trangthai (TrangThai)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE thisinh (
    IDThiSinh   INT          NOT NULL AUTO_INCREMENT,
    SoTT        INT          NULL,
    Ma_Dang_Ky  VARCHAR(64)  NULL,
    Ma_Ky_SH    VARCHAR(64)  NULL,
    HoTen       VARCHAR(255) NULL,
    GioiTinh    VARCHAR(16)  NULL,
    NgaySinh    DATE         NULL,
    SoCMT       VARCHAR(64)  NULL,
    DiaChi      VARCHAR(512) NULL,
    QuocTich    VARCHAR(128) NULL,
    PRIMARY KEY (IDThiSinh),
    KEY idx_thisinh_dangky (Ma_Dang_Ky, Ma_Ky_SH),
    KEY idx_thisinh_socmt (SoCMT)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE khoathi_thisinh (
    ID                  INT          NOT NULL AUTO_INCREMENT,
    IDKhoaHoc           VARCHAR(64)  NULL,
    IDThiSinh           INT          NULL,
    SoBaoDanh           VARCHAR(32)  NULL,
    TraLoiDung          INT          NULL,
    TraLoiSai           INT          NULL,
    KhongTraLoi         INT          NULL,
    KetQua              VARCHAR(64)  NULL,
    SoChungChiTotNghiep VARCHAR(128) NULL,
    Thi                 INT          NULL,
    LoaiBang            VARCHAR(16)  NULL,
    TraLoi              TEXT         NULL,
    UpdateTime          DATETIME     NULL,
    DiemChuan           INT          NULL,
    GhiChu              TEXT         NULL,
    DiemMoPhong         INT          NULL,
    DiemChuanMoPhong    INT          NULL,
    KetQuaMoPhong       VARCHAR(64)  NULL,
    ThoiGianBatDauThi   DATETIME     NULL,
    ThoiGianKetThucThi  DATETIME     NULL,
    TrangThai           INT          NULL,
    -- 32 characters of salt and 64 of HMAC; older results hold the 64 alone.
    CheckSumKQMP        VARCHAR(128) NULL,
    SoHoSo              VARCHAR(128) NULL,
    MaKySH              VARCHAR(64)  NULL,
    NoiDungSH           VARCHAR(64)  NULL,
    KetQuaSH            VARCHAR(64)  NULL,
    KetQuaSHLyThuyet    VARCHAR(64)  NULL,
    AnhChanDung         MEDIUMTEXT   NULL,
    TraLoiMoPhong       TEXT         NULL,
    ChiTietThi          INT          NULL,
    PRIMARY KEY (ID),
    KEY idx_entry_course_order (IDKhoaHoc, SoBaoDanh),
    KEY idx_entry_person (IDThiSinh),
    KEY idx_entry_course_state (IDKhoaHoc, TrangThai)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE tinh (
    IDTinh  VARCHAR(64)  NOT NULL,
    TenTinh VARCHAR(255) NULL,
    PRIMARY KEY (IDTinh)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

CREATE TABLE donvi (
    IDDonVi  VARCHAR(64)  NOT NULL,
    IDTinh   VARCHAR(64)  NULL,
    TenDonVi VARCHAR(255) NULL,
    PRIMARY KEY (IDDonVi),
    KEY idx_donvi_tinh (IDTinh)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;

-- Read by column position: user name, full name, role, MD5 of the password.
CREATE TABLE taikhoan (
    IDTaiKhoan VARCHAR(64)  NOT NULL,
    HoTen      VARCHAR(255) NULL,
    Quyen      INT          NULL,
    MatKhau    VARCHAR(64)  NULL,
    PRIMARY KEY (IDTaiKhoan)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;
